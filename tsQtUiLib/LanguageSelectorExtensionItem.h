#pragma once

#include <QListWidgetItem>

// One language of the selector: its flag and its name in its own language.
class LanguageSelectorExtensionItem : public QListWidgetItem
{
public:
    LanguageSelectorExtensionItem(
        QListWidget *list, const QPixmap &flag, const QString &code, const QString &name);

    QString languageCode() const { return m_languageCode; }
    QString languageName() const { return m_languageName; }

    static constexpr int Type = QListWidgetItem::UserType + 1;

private:
    QString m_languageCode;
    QString m_languageName;
};
