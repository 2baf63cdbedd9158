#pragma once

#include "TsBaseDialog.h"

#include <QMessageBox>
#include <QStringList>

class QAbstractButton;
class QLabel;

// A timed message box: a standard icon, up to three blocks of text and one to
// three buttons, each an image button or a plain push button.
class MessageDialog : public TsBaseDialog
{
    Q_OBJECT
public:
    static const char *const OK;
    static const char *const YES;
    static const char *const NO;
    static const char *const CANCEL;
    static const char *const CONTEXT;

    // buttons: 1 to 3 image buttons; add 1000 for plain push buttons.
    MessageDialog(const QString &caption, const QStringList &label1, const QStringList &label2,
        QMessageBox::Icon icon, QWidget *parent, int timeoutSeconds, int buttons,
        const QString &button1Text, const QString &button1Image = QString(),
        const QString &button2Text = QString(), const QString &button2Image = QString(),
        const QString &button3Text = QString(), const QString &button3Image = QString());

    void setButtonValues(int value1, int value2, int value3);
    void setCaptionText(const QString &caption);
    void setLabel1Text(const QStringList &texts);
    void setLabel2Text(const QStringList &texts);
    void setLabel3Text(const QStringList &texts);
    void setIcon(QMessageBox::Icon icon);
    void setIconPixmap(const QPixmap &pixmap);
    void setButtonImage(int index, const QPixmap &pixmap);
    // Plain text unless told otherwise: most texts come from the Print Service.
    void setMessageTextFormat(::Qt::TextFormat format);

    bool hasImageButtons() const { return m_imageButtons; }
    int buttonCount() const { return m_buttonCount; }
    QAbstractButton *button(int index) const;
    QString messageText() const;

    static QPixmap standardIcon(QMessageBox::Icon icon);

public slots:
    void buttonClick();
    void redrawText() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QAbstractButton *createButton(int number, const QString &imagePath);

    bool m_imageButtons = true;
    int m_buttonCount;
    int m_buttonValues[3] = {1, 0, 0};
    QString m_caption;
    QStringList m_label1;
    QStringList m_label2;
    QStringList m_label3;
    QString m_buttonTexts[3];
    QLabel *m_messageLabel;
    QLabel *m_iconLabel;
    QAbstractButton *m_buttons[3] = {nullptr, nullptr, nullptr};
};
