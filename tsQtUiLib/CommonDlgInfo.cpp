#include "CommonDlgInfo.h"

namespace Tessaly::Qt {

CommonDlgInfo::CommonDlgInfo(const QString &okBtnText, const QString &cancelBtnText,
    const QString &imgPath, const QString &captionText)
    : m_captionText(captionText)
    , m_okBtnText(okBtnText)
    , m_cancelBtnText(cancelBtnText)
    , m_imgPath(imgPath)
{ }

CommonDlgInfo::~CommonDlgInfo() = default;

} // namespace Tessaly::Qt
