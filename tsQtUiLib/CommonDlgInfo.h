#pragma once

#include <QString>

namespace Tessaly::Qt {

// Caption, button texts, pictures and timeout handed to a dialog.
class CommonDlgInfo
{
public:
    CommonDlgInfo(const QString &okBtnText, const QString &cancelBtnText, const QString &imgPath,
        const QString &captionText);
    CommonDlgInfo(const CommonDlgInfo &) = default;
    CommonDlgInfo &operator=(const CommonDlgInfo &) = default;
    virtual ~CommonDlgInfo();

    QString captionText() const { return m_captionText; }
    QString okBtnText() const { return m_okBtnText; }
    QString cancelBtnText() const { return m_cancelBtnText; }
    QString imgPath() const { return m_imgPath; }
    QString okImgPath() const { return m_okImgPath; }
    QString disableOkImgPath() const { return m_disableOkImgPath; }
    QString cancelImgPath() const { return m_cancelImgPath; }
    // Seconds.
    int dlgTimeout() const { return m_dlgTimeout; }

    void setCaptionText(const QString &text) { m_captionText = text; }
    void setOkBtnText(const QString &text) { m_okBtnText = text; }
    void setCancelBtnText(const QString &text) { m_cancelBtnText = text; }
    void setImgPath(const QString &path) { m_imgPath = path; }
    void setOkImgPath(const QString &path) { m_okImgPath = path; }
    void setDisableOkImgPath(const QString &path) { m_disableOkImgPath = path; }
    void setCancelImgPath(const QString &path) { m_cancelImgPath = path; }
    void setDlgTimeout(int seconds) { m_dlgTimeout = seconds; }

private:
    QString m_captionText;
    QString m_okBtnText;
    QString m_cancelBtnText;
    QString m_imgPath;
    QString m_okImgPath;
    QString m_disableOkImgPath;
    QString m_cancelImgPath;
    int m_dlgTimeout = 45;
};

} // namespace Tessaly::Qt
