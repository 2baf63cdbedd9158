#pragma once

#include "TsBaseDialog.h"

class QLabel;
class QTimer;

// The one shared "Please Wait..." window, shown without a modal loop while a
// job is submitted or released.
class ClientProcessingDialog : public TsBaseDialog
{
    Q_OBJECT
public:
    static QString PLEASE_WAIT;
    static QString PROCESSING_JOB_TEXT;
    static QString SUBMITTING_JOB_TEXT;
    static QString REGISTRATION_TEXT;
    static QString RELEASING_JOB_TEXT;
    // Translates the texts above; start-up calls it once a translator is installed.
    static void translateTexts();

    ClientProcessingDialog(QWidget *parent, int timeoutSeconds, ::Qt::WindowFlags flags);

    void setOverrideText(const QString &text);
    void clearOverrideText();
    QString getText() const { return m_text; }
    bool isTicking() const;

public slots:
    void redrawText() override;
    void timerDone();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    QString m_text;
    QTimer *m_timer;
    QLabel *m_textLabel = nullptr;
};
