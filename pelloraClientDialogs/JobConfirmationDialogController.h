#pragma once

class JobConfirmationDialogModel;
class JobConfirmationDialogView;

// Writes a confirmed job into the confirmation dialog, in the current
// language, at every redraw.
class JobConfirmationDialogController
{
public:
    static const char *const CONTEXT;
    static const char *const CaptionText;
    static const char *const ConfirmationText;
    static const char *const JobNumberText;
    static const char *const ExpireTimeText;
    static const char *const OkText;

    // Model and view are borrowed. timeout in ms: 0 is the dialogs' default.
    JobConfirmationDialogController(
        JobConfirmationDialogModel *model, JobConfirmationDialogView *view, long timeout);

    void setTimeout(long timeout) { m_timeout = timeout; }
    long timeout() const { return m_timeout; }

    // Runs the dialog; 1 for OK, 0 for Escape or the timeout.
    int showDialog();
    void updateView();

private:
    JobConfirmationDialogModel *m_model;
    JobConfirmationDialogView *m_view;
    long m_timeout;
};
