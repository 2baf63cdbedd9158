#pragma once

// Translation context shared by the captions and message texts of the kiosk dialogs.
class CommonDialogMessages
{
public:
    static constexpr const char *CONTEXT = "CommonDialogMessages";
};
