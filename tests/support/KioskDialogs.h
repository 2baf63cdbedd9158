#pragma once

// The kiosk dialogs of one print job, built as the handlers build them, and the
// process-wide settings they read, made as start-up makes them. Shared by the
// dialog tests, the paint benchmark, the dialog pictures and the fuzz target of
// outside text; each changes the values it is about before it builds a dialog.

#include "AccountInfoDialogController.h"
#include "AccountInfoDialogView.h"
#include "JobConfirmationDialogController.h"
#include "JobConfirmationDialogModel.h"
#include "JobConfirmationDialogView.h"
#include "JobReceivedMsg.h"
#include "KioskPalette.h"
#include "KoaSessionInfo.h"
#include "PageCountDialogController.h"
#include "PageCountDialogView.h"
#include "TsBaseDialog.h"

#include <memory>

namespace KioskDialogs {

// timeoutMs: -1 for dialogs that wait for their test or tool, not for a patron.
inline void setUp(int timeoutMs = -1, const QString &siteName = QString())
{
    KioskPalette::install();
    TsBaseDialog::setDefaultTimeout(timeoutMs);
    TsBaseDialog::setSiteName(siteName);
}

// What a job's dialogs show: a duplex job, a patron with every account, a
// confirmation with two pickup locations.
struct Job
{
    Job()
    {
        session.setAllocationBalance(QStringLiteral("<html>&#36;</html>4.25"));
        session.setMaxAllocationBalance(QStringLiteral("<html>&#36;</html>10.00"));
        session.setDepositBalance(QStringLiteral("<html>&#36;</html>12.40"));
        session.setMaxDepositBalance(QStringLiteral("<html>&#36;</html>50.00"));
        session.setCreditBalance(QStringLiteral("<html>&#36;</html>2.50"));
        session.setMaxCreditBalance(QStringLiteral("<html>&#36;</html>20.00"));
        session.setLibraryDepositEnabled(true);
        session.setLibraryDepositBalance(QStringLiteral("<html>&#36;</html>7.00"));
        cost.setPageCount(10);
        cost.setSheetCount(5);
        cost.setFreePagesPrinted(1);
        cost.setPageCost(QStringLiteral("<html>&#36;</html>0.20"));
        cost.setTotalCost(QStringLiteral("<html>&#36;</html>0.80"));
        confirmation.setJobNumber(1042);
        confirmation.setExpireTime(QStringLiteral("2026-12-09T17:30:00"));
        confirmation.setPickupLocations(
            {{QStringLiteral("Release Station 1"), QStringLiteral("Main floor")},
                {QStringLiteral("Release Station 2"), QStringLiteral("Second floor, north wing")}});
    }

    KoaSessionInfo session;
    JobReceivedMsg cost;
    JobConfirmationDialogModel confirmation;
};

// A dialog and the controller it borrows; the dialog goes first.
template<typename View, typename Controller> struct Dialog
{
    std::unique_ptr<Controller> controller;
    std::unique_ptr<View> view;
    View *operator->() const { return view.get(); }
};

inline Dialog<PageCountDialogView, PageCountDialogController> costDialog(
    Job &job, int timeoutSeconds = 45)
{
    Dialog<PageCountDialogView, PageCountDialogController> dialog;
    dialog.controller = std::make_unique<PageCountDialogController>(&job.session, timeoutSeconds);
    dialog.view
        = std::make_unique<PageCountDialogView>(nullptr, dialog.controller.get(), &job.cost);
    return dialog;
}

inline Dialog<AccountInfoDialogView, AccountInfoDialogController> accountsDialog(
    Job &job, int timeoutSeconds = 45)
{
    Dialog<AccountInfoDialogView, AccountInfoDialogController> dialog;
    dialog.controller = std::make_unique<AccountInfoDialogController>(&job.session, timeoutSeconds);
    dialog.view = std::make_unique<AccountInfoDialogView>(nullptr, dialog.controller.get());
    return dialog;
}

inline Dialog<JobConfirmationDialogView, JobConfirmationDialogController> confirmationDialog(
    Job &job)
{
    Dialog<JobConfirmationDialogView, JobConfirmationDialogController> dialog;
    dialog.view = std::make_unique<JobConfirmationDialogView>(nullptr);
    dialog.controller = std::make_unique<JobConfirmationDialogController>(
        &job.confirmation, dialog.view.get(), 0);
    dialog.view->setController(dialog.controller.get());
    return dialog;
}

} // namespace KioskDialogs
