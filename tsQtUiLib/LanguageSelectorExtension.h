#pragma once

#include <QListWidget>
#include <QMap>

// The list of flags and language names that opens beside a dialog.
class LanguageSelectorExtension : public QListWidget
{
    Q_OBJECT
public:
    explicit LanguageSelectorExtension(QWidget *parent = nullptr);

    // Dialect code to language name; listed in the map's (code) order.
    void loadLanguages(const QMap<QString, QString> &languages);

    static QPixmap loadFlag(const QString &code);

signals:
    void languageSelected(const QString &code, const QString &name);

public slots:
    void handleItemClicked(QListWidgetItem *item);
};
