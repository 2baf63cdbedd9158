#pragma once

#include "TsBaseDialog.h"

class PageCountDialogController;
class PageCountDialogModel;
class QLabel;
class QPushButton;

// Shows what a received job will cost and asks whether to print it.
class PageCountDialogView : public TsBaseDialog
{
    Q_OBJECT
public:
    static const char *const MINUS;
    static const char *const MULTIPLY;

    PageCountDialogView(
        QWidget *parent, PageCountDialogController *controller, PageCountDialogModel *model);

    // The receipt as rich text, for a cost label of the given width.
    static QString receiptText(const PageCountDialogModel &model, int width);

public slots:
    void redrawText() override;
    void showAccountInfo();
    // 1: the patron accepts the job; 0: cancelled or timed out.
    int execDialog();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QPushButton *makeButton(const QString &objectName);

    QLabel *m_costLabel = nullptr;
    QLabel *m_freeTextLabel = nullptr;
    QPushButton *m_okButton = nullptr;
    QPushButton *m_cancelButton = nullptr;
    QPushButton *m_accountsButton = nullptr;
    PageCountDialogController *m_controller;
    PageCountDialogModel *m_model;
};
