#pragma once

#include "TsBaseDialog.h"

class QLabel;
class QLineEdit;
class QPushButton;

// A one-field text entry without timeout and without Cancel.
class TsInputDialog : public TsBaseDialog
{
    Q_OBJECT
public:
    TsInputDialog(const QString &caption, const QString &label);

    QString getInput() const;
    void setInput(const QString &text);

public slots:
    void redrawText() override;

private:
    QString m_caption;
    QString m_labelText;
    QLabel *m_label;
    QLineEdit *m_input;
    QPushButton *m_okButton;
};
