#include "LanguageSelectorExtension.h"

#include "LanguageSelectorExtensionItem.h"
#include "TsBaseDialog.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPixmap>

namespace {
const QSize FlagSize(45, 30);
}

LanguageSelectorExtension::LanguageSelectorExtension(QWidget *parent)
    : QListWidget(parent)
{
    setObjectName(QStringLiteral("LanguageSelector"));
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setIconSize(FlagSize);
    setSpacing(2);
    setAccessibleName(QCoreApplication::translate("Language Preferences", "Change Language"));
    connect(this, &QListWidget::itemClicked, this, &LanguageSelectorExtension::handleItemClicked);
}

QPixmap LanguageSelectorExtension::loadFlag(const QString &code)
{
    // The dialect arrives upper case; an installation on a case-sensitive file
    // system may have named its flags in lower case.
    const QString folder = TsBaseDialog::applicationFolder() + QLatin1String("/images/");
    QStringList names {code};
    if (code.toLower() != code)
        names << code.toLower();
    for (const QString &name : std::as_const(names)) {
        for (const char *suffix : {".jpg", ".png"}) {
            QPixmap flag(folder + name + QLatin1String(suffix));
            if (flag.isNull())
                continue;
            // The flags are drawn at twice the size shown: sharp on a screen scaled by 2.
            const qreal ratio = qGuiApp->devicePixelRatio();
            flag = flag.scaled(FlagSize * ratio, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            flag.setDevicePixelRatio(ratio);
            return flag;
        }
    }
    return {};
}

void LanguageSelectorExtension::loadLanguages(const QMap<QString, QString> &languages)
{
    clear();
    const QFontMetrics metrics(TsBaseDialog::defaultFont());
    setFont(TsBaseDialog::defaultFont());
    int width = 150;
    for (auto it = languages.cbegin(); it != languages.cend(); ++it) {
        QPixmap flag = loadFlag(it.key());
        if (flag.isNull()) {
            // Keep the names aligned with those that have a flag.
            flag = QPixmap(FlagSize);
            flag.fill(Qt::transparent);
        }
        new LanguageSelectorExtensionItem(this, flag, it.key(), it.value());
        width = qMax(width, metrics.horizontalAdvance(it.value()) + 75);
    }
    setMinimumWidth(width);
}

void LanguageSelectorExtension::handleItemClicked(QListWidgetItem *item)
{
    if (!item || item->type() != LanguageSelectorExtensionItem::Type)
        return;
    const auto *language = static_cast<LanguageSelectorExtensionItem *>(item);
    emit languageSelected(language->languageCode(), language->languageName());
}

void LanguageSelectorExtension::selectLanguage(const QString &code)
{
    for (int row = 0; row < count(); ++row) {
        const QListWidgetItem *candidate = item(row);
        if (candidate->type() == LanguageSelectorExtensionItem::Type
            && static_cast<const LanguageSelectorExtensionItem *>(candidate)->languageCode()
                == code) {
            setCurrentRow(row);
            return;
        }
    }
    setCurrentRow(count() > 0 ? 0 : -1);
}

void LanguageSelectorExtension::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        handleItemClicked(currentItem());
        break;
    case Qt::Key_Escape:
        // Not the dialog's Escape: that would cancel the patron's job.
        emit dismissed();
        break;
    default:
        QListWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void LanguageSelectorExtension::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        setAccessibleName(QCoreApplication::translate("Language Preferences", "Change Language"));
    QListWidget::changeEvent(event);
}
