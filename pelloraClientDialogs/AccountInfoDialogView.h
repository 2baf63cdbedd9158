#pragma once

#include "TsBaseDialog.h"

class AccountInfoDialogController;
class QGridLayout;
class QLabel;
class QPushButton;

// The accounts that can pay for the patron's printing, one block each, with
// the balances as they were when the dialog was built.
class AccountInfoDialogView : public TsBaseDialog
{
    Q_OBJECT
public:
    AccountInfoDialogView(QWidget *parent, AccountInfoDialogController *controller);

public slots:
    void redrawText() override;

private:
    QLabel *addPicture(QGridLayout *grid, const QString &imageName, int row, int rowSpan,
        const QString &objectName);
    QLabel *addText(QGridLayout *grid, int row, const QString &objectName);
    QLabel *addValue(QGridLayout *grid, int row, const QString &value, const QString &objectName);

    AccountInfoDialogController *m_controller;
    QPushButton *m_okButton = nullptr;
    QLabel *m_currentDepositText = nullptr;
    QLabel *m_maxDepositText = nullptr;
    QLabel *m_currentCreditText = nullptr;
    QLabel *m_maxCreditText = nullptr;
    QLabel *m_allocationText = nullptr;
    QLabel *m_depositValue = nullptr;
    QLabel *m_maxDepositValue = nullptr;
    QLabel *m_creditValue = nullptr;
    QLabel *m_maxCreditValue = nullptr;
    QLabel *m_allocationValue = nullptr;
    QLabel *m_libraryDepositText = nullptr;
    QLabel *m_libraryDepositValue = nullptr;
};
