// A patron picks a language in an open dialog's selector: the dialog relabels
// at once from the shipped translation files.
#include "FakePreferences.h"
#include "LanguageSelectorExtension.h"
#include "PrintClientLanguageChanger.h"
#include "SupportedLanguageDialects.h"
#include "TsHttp.h"
#include "UserIdDialogController.h"
#include "UserIdDialogModel.h"
#include "UserIdDialogView.h"

#include <QTest>

class TstLanguageSwitch : public QObject
{
    Q_OBJECT

private slots:
    void relabelsTheOpenDialog_data();
    void relabelsTheOpenDialog();
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

QTEST_MAIN(TstLanguageSwitch)
#include "tst_languageswitch.moc"
