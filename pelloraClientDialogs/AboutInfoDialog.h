#pragma once

#include "TsBaseDialog.h"

class QLabel;
class QPushButton;

// The version of the client and the legal notices.
class AboutInfoDialog : public TsBaseDialog
{
    Q_OBJECT
public:
    AboutInfoDialog();

    QLabel *mainLabel() const { return m_mainLabel; }
    QPushButton *okButton() const { return m_okButton; }

    // Under the version line: the other parties' software, the reservation
    // of rights and the trademarks.
    static const char *const Acknowledgements;

public slots:
    void redrawText() override;

private:
    QLabel *m_mainLabel = nullptr;
    QPushButton *m_okButton = nullptr;
};
