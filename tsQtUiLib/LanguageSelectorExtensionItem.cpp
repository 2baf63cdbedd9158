#include "LanguageSelectorExtensionItem.h"

#include <QFontMetrics>
#include <QListWidget>

LanguageSelectorExtensionItem::LanguageSelectorExtensionItem(
    QListWidget *list, const QPixmap &flag, const QString &code, const QString &name)
    : QListWidgetItem(QIcon(flag), name, list, Type)
    , m_languageCode(code)
    , m_languageName(name)
{
    // Touch targets: the picture or the text, whichever is taller, plus 10 pixels.
    const int textHeight = list ? QFontMetrics(list->font()).height() : 0;
    setSizeHint(QSize(-1, qMax(flag.height(), textHeight) + 10));
}
