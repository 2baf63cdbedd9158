// A patron picks a language in an open dialog's selector: the dialog relabels
// at once from the shipped translation files.
#include "FakePreferences.h"
#include "KioskDialogs.h"
#include "KoaMainWindow.h"
#include "LanguageSelectorExtension.h"
#include "PrintClientLanguageChanger.h"
#include "SupportedLanguageDialects.h"
#include "TsHttp.h"
#include "UserIdDialogController.h"
#include "UserIdDialogModel.h"
#include "UserIdDialogView.h"

#include <QAbstractButton>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QRegularExpression>
#include <QTest>
#include <QTreeWidget>

#include <memory>

namespace {
// Every text a window shows or tells a screen reader, keyed by where it is.
QMap<QString, QString> textsOf(const QWidget *window)
{
    QMap<QString, QString> texts;
    const QString name = window->objectName();
    texts.insert(name + QStringLiteral(" title"), window->windowTitle());
    int index = 0;
    const QList<QWidget *> widgets = window->findChildren<QWidget *>();
    for (const QWidget *widget : widgets) {
        const QString key = QStringLiteral("%1 %2#%3 ").arg(name, widget->objectName()).arg(index++);
        texts.insert(key + QStringLiteral("accessible name"), widget->accessibleName());
        texts.insert(key + QStringLiteral("accessible description"), widget->accessibleDescription());
        if (const auto *label = qobject_cast<const QLabel *>(widget))
            texts.insert(key + QStringLiteral("text"), label->text());
        if (const auto *button = qobject_cast<const QAbstractButton *>(widget))
            texts.insert(key + QStringLiteral("text"), button->text());
        if (const auto *menu = qobject_cast<const QMenu *>(widget)) {
            texts.insert(key + QStringLiteral("title"), menu->title());
            const QList<QAction *> actions = menu->actions();
            for (int i = 0; i < actions.size(); ++i)
                texts.insert(key + QString::number(i), actions.at(i)->text());
        }
        if (const auto *header = qobject_cast<const QHeaderView *>(widget)) {
            for (int i = 0; i < header->count(); ++i)
                texts.insert(key + QString::number(i),
                    header->model()->headerData(i, header->orientation()).toString());
        }
    }
    return texts;
}

// Names are the same in every language: the product's, the site's and the
// languages' own names that the change-language button cycles through.
const QStringList Names {"Pellora™ Print Client", "Pellora Print Client", "Pellora", "Tessaly",
    "Central Library", "English", "Français", "Español", "Deutsch"};

// The words of a text as shown: markup is no word.
QSet<QString> wordsOf(QString text)
{
    static const QRegularExpression markup(QStringLiteral("<[^>]*>"));
    static const QRegularExpression word(QStringLiteral("\\p{L}{3,}"));
    text.replace(markup, QStringLiteral(" "));
    for (const QString &name : Names)
        text.replace(name, QStringLiteral(" "));
    QSet<QString> words;
    for (auto it = word.globalMatch(text); it.hasNext();)
        words.insert(it.next().captured());
    return words;
}
} // namespace

class TstLanguageSwitch : public QObject
{
    Q_OBJECT

private slots:
    void relabelsTheOpenDialog_data();
    void relabelsTheOpenDialog();
    void leavesNoWordOfAnotherLanguage_data();
    void leavesNoWordOfAnotherLanguage();
};

void TstLanguageSwitch::relabelsTheOpenDialog_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("cancel");
    QTest::addColumn<QString>("locale");

    // clang-format off
    QTest::newRow("Français") << "FR_CA" << "Identification de l'utilisateur" << "Annuler" << "FR_CA";
    QTest::newRow("Español") << "ES_US" << "Identificación del usuario" << "Cancelar" << "ES_US";
    QTest::newRow("Deutsch") << "DE_DE" << "Benutzeridentifikation" << "Abbrechen" << "DE_DE";
    QTest::newRow("no such file") << "XX_XX" << "User Identification" << "Cancel" << "XX_XX";
    // clang-format on
}

void TstLanguageSwitch::relabelsTheOpenDialog()
{
    QFETCH(QString, code);
    QFETCH(QString, title);
    QFETCH(QString, cancel);
    QFETCH(QString, locale);
    TsBaseDialog::setApplicationFolder(QStringLiteral(PELLORA_APP_DIR));
    SupportedLanguageDialects().install(QStringLiteral("en_us,es_us,fr_ca,de_de"));
    QCOMPARE(TsBaseDialog::languageMap().keys(), QStringList({"DE_DE", "EN_US", "ES_US", "FR_CA"}));

    FakePreferences preferences;
    // The Print Service refuses: the default translation alone.
    PrintClientLanguageChanger changer(
        &preferences, std::make_unique<TsHttp>(), QStringLiteral("http://127.0.0.1:1/languages"));
    TsBaseDialog::setLanguageChanger(&changer);

    UserIdDialogModel model(true, false);
    UserIdDialogController controller(&model, &preferences, nullptr, 45);
    UserIdDialogView view(nullptr, &controller);
    view.show();
    QCOMPARE(view.windowTitle(), QStringLiteral("User Identification"));
    view.toggleExtension();
    QVERIFY(view.extension());
    emit view.extension()->languageSelected(code, TsBaseDialog::languageMap().value(code));

    QCOMPARE(view.windowTitle(), title);
    QCOMPARE(view.cancelButtonText(), cancel);
    QCOMPARE(preferences.getCurrentLocale(), locale);
    TsBaseDialog::setLanguageChanger(nullptr);
    TsBaseDialog::setApplicationFolder(QString());
}

void TstLanguageSwitch::leavesNoWordOfAnotherLanguage_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QStringList>("same");

    // The words a language shares with English.
    QTest::newRow("Français") << "FR_CA" << QStringList {"Menu", "Identification", "Mode", "Terminal"};
    QTest::newRow("Español") << "ES_US" << QStringList {"PIN", "Total", "Terminal"};
    QTest::newRow("Deutsch") << "DE_DE" << QStringList {"PIN", "Client"};
}

// A settings message switches the language while the main window and dialogs
// are open: afterwards none of them shows or speaks an English word.
void TstLanguageSwitch::leavesNoWordOfAnotherLanguage()
{
    QFETCH(QString, code);
    QFETCH(QStringList, same);
    KioskDialogs::setUp(-1, QStringLiteral("Central Library"));
    TsBaseDialog::setApplicationFolder(QStringLiteral(PELLORA_APP_DIR));
    FakePreferences preferences;
    PrintClientLanguageChanger changer(
        &preferences, std::make_unique<TsHttp>(), QStringLiteral("http://127.0.0.1:1/languages"));
    QVERIFY(changer.changeLanguage(QStringLiteral("EN_US")) != 1);

    KoaMainWindow main(false);
    main.addFileMenu();
    UserIdDialogModel identity(true, true);
    UserIdDialogController identityController(&identity, &preferences, nullptr, 45);
    UserIdDialogView identityView(nullptr, &identityController);
    KioskDialogs::Job job;
    const auto cost = KioskDialogs::costDialog(job);
    const auto accounts = KioskDialogs::accountsDialog(job);
    const auto confirmation = KioskDialogs::confirmationDialog(job);
    const QList<QWidget *> windows {
        &main, &identityView, cost.view.get(), accounts.view.get(), confirmation.view.get()};
    QMap<QString, QString> english;
    for (QWidget *window : windows) {
        window->show();
        english.insert(textsOf(window));
    }

    QVERIFY(changer.changeLanguage(code) != 1);
    QCoreApplication::processEvents();

    QStringList left;
    int translated = 0;
    for (QWidget *window : windows) {
        const QMap<QString, QString> now = textsOf(window);
        for (auto it = now.cbegin(); it != now.cend(); ++it) {
            QSet<QString> kept = wordsOf(it.value()) & wordsOf(english.value(it.key()));
            for (const QString &name : same)
                kept.remove(name);
            if (!kept.isEmpty())
                left << QStringLiteral("%1: \"%2\"").arg(it.key(), it.value());
            translated += it.value() != english.value(it.key()) ? 1 : 0;
        }
    }
    QVERIFY2(left.isEmpty(), qPrintable(left.join(QLatin1Char('\n'))));
    // The windows were there and did change.
    QVERIFY(translated > 20);
    for (QWidget *window : windows)
        window->hide();
    TsBaseDialog::setApplicationFolder(QString());
}

QTEST_MAIN(TstLanguageSwitch)
#include "tst_languageswitch.moc"
