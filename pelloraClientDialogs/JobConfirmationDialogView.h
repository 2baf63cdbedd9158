#pragma once

#include "TsBaseDialog.h"

class JobConfirmationDialogController;
class QLabel;
class QPushButton;
class QTreeWidget;

// Tells the patron that the Print Service holds the job: its number, until
// when it can be released and at which release terminals.
class JobConfirmationDialogView : public TsBaseDialog
{
    Q_OBJECT
public:
    static const char *const CONTEXT;
    static const char *const ReleaseTerminalText;
    static const char *const LocationText;
    static const char *const PickupListName;
    static const char *const PictureName;

    explicit JobConfirmationDialogView(QWidget *parent);

    // Borrowed; the dialog's texts come from it from now on.
    void setController(JobConfirmationDialogController *controller);

    void setConfirmationText(const QString &text);
    QString confirmationText() const;
    void setJobNumberText(const QString &text);
    QString jobNumberText() const;
    void setExpireTimeText(const QString &text);
    QString expireTimeText() const;
    void setExpireTimeVisible(bool visible);
    void setColumnText(int column, const QString &text);
    void clearPickupLocations();
    void addPickupLocation(const QString &terminal, const QString &location);
    void setOkButtonText(const QString &text);

public slots:
    void redrawText() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void fitPickupList();
    JobConfirmationDialogController *m_controller = nullptr;
    QLabel *m_confirmationLabel;
    QLabel *m_jobNumberLabel;
    QLabel *m_expireTimeLabel;
    QPushButton *m_okButton;
    QTreeWidget *m_pickupList;
    QLabel *m_picture;
};
