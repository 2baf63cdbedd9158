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

    // Makes the item of that code current (the first when none has it).
    void selectLanguage(const QString &code);

signals:
    void languageSelected(const QString &code, const QString &name);
    // Escape in the list: the patron leaves the selector without choosing.
    void dismissed();

public slots:
    void handleItemClicked(QListWidgetItem *item);

protected:
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};
