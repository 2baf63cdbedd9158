// dialogshots: shows each kiosk dialog in a realistic state on the offscreen
// platform and writes a picture of it, and of the whole screen where the
// dialog has company (keypad, language selector), into the folder given.
// With --check it also reports every text a dialog shows only in part and
// fails when there is one; run it once per QT_SCALE_FACTOR.

#include "AboutInfoDialog.h"
#include "AutoReleaseMsg.h"
#include "AutoReleaseMsgHandler.h"
#include "ClientProcessingDialog.h"
#include "CutTextCheck.h"
#include "DaxTimeSource.h"
#include "FakeConnector.h"
#include "GuestJobReqHandler.h"
#include "JobReceivedMsg.h"
#include "KeyPad.h"
#include "KioskDialogs.h"
#include "KoaMainWindow.h"
#include "KoaPasswordDialog.h"
#include "KoaSessionInfo.h"
#include "MacPrintClientPreferences.h"
#include "MacPrinterConnector.h"
#include "MessageDialog.h"
#include "PageCountDialogController.h"
#include "PageCountDialogView.h"
#include "PasswordDialog.h"
#include "PrintClientDialog.h"
#include "PrintClientImages.h"
#include "SupportedLanguageDialects.h"
#include "TranslationFileManager.h"
#include "TrayConnectionStatus.h"
#include "TsBaseDialog.h"
#include "TsInputDialog.h"
#include "UserIdDialogController.h"
#include "UserIdDialogModel.h"
#include "UserIdDialogView.h"

#include <QApplication>
#include <QDir>
#include <QLayout>
#include <QLineEdit>
#include <QPainter>
#include <QScreen>
#include <QTemporaryFile>
#include <QTextEdit>
#include <QTimer>
#include <QTranslator>

#include <cstdio>
#include <functional>

namespace {
const QRect Desktop(0, 0, 1024, 768);
QString outputFolder;
QString dialectShown;
int written = 0;
bool checking = false;
int findings = 0;

void check(const QWidget *window, const QString &name)
{
    if (!checking)
        return;
    const QStringList found = CutTextCheck::findings(window, Desktop);
    for (const QString &line : found)
        std::fprintf(stderr, "%s/%s: %s\n", qPrintable(dialectShown), qPrintable(name),
            qPrintable(line));
    findings += int(found.size());
}

bool save(const QImage &image, const QString &name)
{
    const QString path = QDir(outputFolder).filePath(name + QLatin1String(".png"));
    if (!image.save(path)) {
        std::fprintf(stderr, "dialogshots: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    ++written;
    return true;
}

void settle()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

// The dialog as it is, then the screen with every visible window where it is.
void shoot(QWidget *dialog, const QString &name, bool withScreen = false)
{
    dialog->show();
    settle();
    save(dialog->grab().toImage(), name);
    check(dialog, name);
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window != dialog && window->isVisible())
            check(window, name + QLatin1Char('/') + window->objectName());
    }
    if (!withScreen)
        return;
    // As sharp as the windows: one screen pixel per device pixel.
    const qreal ratio = qApp->devicePixelRatio();
    QImage screen(Desktop.size() * ratio, QImage::Format_RGB32);
    screen.setDevicePixelRatio(ratio);
    screen.fill(QColor(0x3a, 0x4a, 0x5a));
    QPainter painter(&screen);
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (!window->isVisible())
            continue;
        const QPixmap picture = window->grab();
        painter.drawPixmap(window->pos(), picture);
        painter.setPen(QColor(0x20, 0x20, 0x20));
        painter.drawRect(QRect(window->pos(), picture.deviceIndependentSize().toSize())
                .adjusted(0, 0, -1, -1));
    }
    painter.end();
    save(screen, name + QLatin1String("_screen"));
}

// For dialogs that only a handler's modal call puts up: the picture is taken
// once the dialog is up, then the dialog is closed.
void shootModal(const QString &name, const std::function<void()> &run)
{
    auto *timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, name] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        timer->stop();
        timer->deleteLater();
        settle();
        save(modal->grab().toImage(), name);
        check(modal, name);
        static_cast<QDialog *>(modal)->reject();
    });
    timer->start();
    run();
}

void setUpLanguages()
{
    TsBaseDialog::setLanguageList(
        {{QStringLiteral("English"), QStringLiteral("Close Language Options")},
            {QStringLiteral("Français"), QStringLiteral("Fermer les options de langue")},
            {QStringLiteral("Español"), QStringLiteral("Cerrar opciones de idioma")},
            {QStringLiteral("Deutsch"), QStringLiteral("Sprachoptionen schließen")}});
    TsBaseDialog::setLanguageMap({{QStringLiteral("EN_US"), QStringLiteral("English")},
        {QStringLiteral("FR_CA"), QStringLiteral("Français")},
        {QStringLiteral("ES_US"), QStringLiteral("Español")},
        {QStringLiteral("DE_DE"), QStringLiteral("Deutsch")}});
}

void shootMessages()
{
    PrintClientDialog error(nullptr);
    error.setCaptionText(QStringLiteral("Print Error"));
    error.setIconPixmap(MessageDialog::standardIcon(QMessageBox::Critical));
    error.setLabel1Text({QStringLiteral("Your print job could not be sent to the Print Service. "
                                        "Please see a staff member.")});
    error.redrawText();
    shoot(&error, QStringLiteral("printclientdialog_error"));
    error.hide();

    MessageDialog question(
        QCoreApplication::translate("GuestJobReqHandler", GuestJobReqHandler::GuestPromptCaption),
        {QCoreApplication::translate("GuestJobReqHandler", GuestJobReqHandler::GuestPromptText)},
        {QString()}, QMessageBox::Question, nullptr, 0, 1002,
        QString::fromLatin1(MessageDialog::YES), QString(), QString::fromLatin1(MessageDialog::NO));
    shoot(&question, QStringLiteral("messagedialog_question_plain"));
    question.hide();

    MessageDialog images(QStringLiteral("Job Received"), {QStringLiteral("Your job was received.")},
        {QStringLiteral("Pick it up at any release station within 2 hours.")},
        QMessageBox::Information, nullptr, 45, 3, QString::fromLatin1(MessageDialog::OK), QString(),
        QString::fromLatin1(MessageDialog::CANCEL), QString(), QStringLiteral("Details"));
    images.setLabel3Text({QStringLiteral("Job number 1042.")});
    shoot(&images, QStringLiteral("messagedialog_three_image_buttons"), true);
    images.hide();

    ClientProcessingDialog processing(nullptr, -1, TsBaseDialog::titledWindowFlags());
    processing.setOverrideText(ClientProcessingDialog::SUBMITTING_JOB_TEXT);
    shoot(&processing, QStringLiteral("clientprocessingdialog"));
    processing.hide();
}

void shootJobStatus()
{
    KioskDialogs::Job job;
    const auto view = KioskDialogs::confirmationDialog(job);
    shoot(view.view.get(), QStringLiteral("jobconfirmationdialog"), true);
    view->hide();

    Tessaly::Core::DaxTimeSource clock;
    Tessaly::Core::Message::setTimeSource(&clock);
    PrintClientDialog box(nullptr);
    AutoReleaseMsgHandler handler(&box, nullptr);
    AutoReleaseMsg released;
    released.setReleased(true);
    released.setPrinterFamily(QStringLiteral("Lab Laser"));
    released.setPickupLocation(QStringLiteral("Main floor"));
    released.setPaymentOrder(QStringLiteral("ADC"));
    released.setAllocationAmount(QStringLiteral("$0.20"));
    released.setDepositAmount(QStringLiteral("$0.50"));
    released.setCreditAmount(QStringLiteral("$0.05"));
    shootModal(QStringLiteral("autorelease_released"),
        [&] { handler.handle(QStringLiteral("dialogshots"), &released); });

    AutoReleaseMsg failed;
    failed.setErrorMessage(QStringLiteral("The printer is offline."));
    failed.setRefundAmount(QStringLiteral("250"));
    failed.setRefundId(QStringLiteral("R-1042"));
    shootModal(QStringLiteral("autorelease_failed_refund"),
        [&] { handler.handle(QStringLiteral("dialogshots"), &failed); });
    Tessaly::Core::Message::setTimeSource(nullptr);

    ClientProcessingDialog processing(nullptr, -1, TsBaseDialog::titledWindowFlags());
    processing.setOverrideText(ClientProcessingDialog::PROCESSING_JOB_TEXT);
    shoot(&processing, QStringLiteral("clientprocessingdialog_processing"));
    processing.hide();
}

void shootLanguageSelector()
{
    MessageDialog dialog(QStringLiteral("Print Error"),
        {QStringLiteral("The printer is out of paper.")}, {QString()}, QMessageBox::Warning,
        nullptr, 0, 1, QString::fromLatin1(MessageDialog::OK));
    dialog.show();
    settle();
    dialog.toggleExtension();
    settle();
    shoot(&dialog, QStringLiteral("languageselector_open"), true);
    dialog.hide();
}

void shootPasswords()
{
    PasswordDlgInfo staff(QString::fromLatin1(PasswordDlgInfo::PASSWORD_REQUIRED_CAPTION_TEXT),
        QString(), QString(), QString(),
        QString::fromLatin1(PasswordDlgInfo::STAFF_PASSWORD_PROMPT_TEXT));
    staff.setDialogText(QString::fromLatin1(PasswordDlgInfo::INSTRUCTION_TEXT));
    KoaPasswordDialog koa(nullptr, staff);
    shoot(&koa, QStringLiteral("koapassworddialog"));
    koa.findChild<QLineEdit *>(QStringLiteral("passwordDlg_passwordEntry"))
        ->setText(QStringLiteral("secret"));
    shoot(&koa, QStringLiteral("koapassworddialog_typed"));
    koa.hide();

    PasswordDlgInfo override(QStringLiteral("Staff Approval"), QStringLiteral("OK"),
        QStringLiteral("Cancel"), QString(),
        QString::fromLatin1(PasswordDlgInfo::PASSWORD_PROMPT_TEXT));
    override.setDialogText(QStringLiteral("This job exceeds the page limit of your session."));
    override.setRequireStaffId(true);
    override.setRequireReasonForOverride(true);
    override.setKeypadStyle(KeyPad::ALPHA_STYLE);
    PasswordDialog withKeypad(nullptr, override, true);
    withKeypad.setLogoPixmap(PrintClientImages::userId());
    withKeypad.findChild<QLineEdit *>(QStringLiteral("passwordDlg_staffIdEntry"))
        ->setText(QStringLiteral("jsmith"));
    withKeypad.findChild<QTextEdit *>(QStringLiteral("passwordDlg_reasonEntry"))
        ->setPlainText(QStringLiteral("Thesis print approved by the desk"));
    withKeypad.showTopLevelDomainKeys(true);
    shoot(&withKeypad, QStringLiteral("passworddialog_alpha_keypad"), true);
    save(withKeypad.keypad()->grab().toImage(), QStringLiteral("keypad_alpha"));
    withKeypad.hide();

    PasswordDlgInfo pin(QString::fromLatin1(PasswordDlgInfo::PIN_REQUIRED_CAPTION_TEXT), QString(),
        QString(), QString(), QString::fromLatin1(PasswordDlgInfo::USER_PIN_PROMPT_TEXT));
    pin.setKeypadStyle(2);
    PasswordDialog numeric(nullptr, pin, true);
    shoot(&numeric, QStringLiteral("passworddialog_numeric_keypad"), true);
    save(numeric.keypad()->grab().toImage(), QStringLiteral("keypad_numeric"));
    numeric.hide();
}

void shootInput()
{
    TsInputDialog input(QCoreApplication::translate("MacPrinterConnector",
                            MacPrinterConnector::EnterPrintServiceAddressCaption),
        QCoreApplication::translate(
            "MacPrinterConnector", MacPrinterConnector::EnterPrintServiceAddressLabel));
    input.setInput(QStringLiteral("printservice.library.example"));
    shoot(&input, QStringLiteral("tsinputdialog"));
    input.hide();
}

void shootPageCount()
{
    KoaSessionInfo withAccounts;
    withAccounts.setMaxAllocationBalance(QStringLiteral("10.00"));
    withAccounts.setAllocationBalance(QStringLiteral("4.25"));
    KoaSessionInfo withoutAccounts;

    JobReceivedMsg freeJob;
    freeJob.setPageCount(3);
    freeJob.setFreeJob(true);
    PageCountDialogController plain(&withoutAccounts, 45);
    PageCountDialogView free(nullptr, &plain, &freeJob);
    shoot(&free, QStringLiteral("pagecountdialog_free"));
    free.hide();

    KioskDialogs::Job duplex;
    duplex.session = withAccounts;
    const auto duplexView = KioskDialogs::costDialog(duplex);
    shoot(duplexView.view.get(), QStringLiteral("pagecountdialog_duplex_accounts"), true);
    duplexView->hide();

    JobReceivedMsg simplex;
    simplex.setPageCount(12);
    simplex.setFreePagesPrinted(2);
    simplex.setPageCost(QStringLiteral("$0.10"));
    simplex.setTotalCost(QStringLiteral("$1.00"));
    simplex.setFreeTextMessage(QStringLiteral(
        "Colour pages are printed on the second floor. Collect your job within two hours."));
    PageCountDialogView simplexView(nullptr, &plain, &simplex);
    shoot(&simplexView, QStringLiteral("pagecountdialog_simplex_freetext"));
    simplexView.hide();
}

void shootAccounts()
{
    KioskDialogs::Job job;
    const auto all = KioskDialogs::accountsDialog(job);
    shoot(all.view.get(), QStringLiteral("accountinfodialog_all"));
    all->hide();

    job.session.setIsDepositExpired(true);
    job.session.setIsCreditExpired(true);
    const auto expired = KioskDialogs::accountsDialog(job);
    shoot(expired.view.get(), QStringLiteral("accountinfodialog_expired"));
    expired->hide();
}

void shootIdentification()
{
    struct Variant
    {
        const char *name;
        bool pin;
        bool guests;
        bool masked;
    };
    const Variant variants[] = {{"useriddialog_pin", true, false, false},
        {"useriddialog_no_pin", false, false, false}, {"useriddialog_guest", true, true, false},
        {"useriddialog_masked_id", true, false, true}};
    for (const Variant &variant : variants) {
        MacPrintClientPreferences preferences;
        preferences.setMaskUserId(variant.masked);
        UserIdDialogModel model(variant.pin, variant.guests);
        UserIdDialogController controller(&model, &preferences, nullptr, 45);
        UserIdDialogView view(nullptr, &controller);
        view.findChild<QLineEdit *>(QStringLiteral("userIdDialog_UserIdEntry"))
            ->setText(QStringLiteral("jsmith"));
        if (auto *pin = view.findChild<QLineEdit *>(QStringLiteral("userIdDialog_PinEntry")))
            pin->setText(QStringLiteral("4711"));
        shoot(&view, QLatin1String(variant.name));
        view.hide();
    }
}

void shootMainWindow()
{
    KoaMainWindow window(true);
    // Its menu bar, as start-up gives it one.
    window.addFileMenu();
    shoot(&window, QStringLiteral("mainwindow"), true);
    window.hide();

    // Waiting for a Print Service whose certificate is not trusted: the
    // longest line the window shows while it waits.
    KoaMainWindow waiting(true);
    waiting.addFileMenu();
    FakeConnector connector;
    connector.host = QStringLiteral("print.example.org");
    TrayConnectionStatus status(nullptr, &connector);
    status.setFailureSource([] {
        return QCoreApplication::translate(
            "SiteTls", "certificate for %1 is not trusted: unknown issuer, %2")
            .arg(QStringLiteral("print.example.org"),
                QCoreApplication::translate("SiteTls", "not in the system's CA store"));
    });
    status.setMainWindow(&waiting);
    status.connectionLost();
    shoot(&waiting, QStringLiteral("mainwindow_waiting"), true);
    waiting.hide();

    AboutInfoDialog about;
    shoot(&about, QStringLiteral("aboutinfodialog"), true);
    about.hide();
}
} // namespace

// dialogshots --grab FILE [WINDOW]: one X window (or the whole screen) of
// $DISPLAY as the program really shows it, for the demo.
int grab(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QScreen *screen = QGuiApplication::primaryScreen();
    bool isNumber = true;
    const WId window = argc > 3 ? QByteArray(argv[3]).toULongLong(&isNumber) : 0;
    if (!screen || !isNumber)
        return 2;
    return screen->grabWindow(window).save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
}

int main(int argc, char *argv[])
{
    if (argc >= 3 && qstrcmp(argv[1], "--grab") == 0)
        return grab(argc, argv);
    // An offscreen screen that holds the kiosk desktop at any scale, so that Qt
    // sizes windows against the screen a patron has.
    QTemporaryFile screenConfig;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        bool isNumber = false;
        double scale = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(&isNumber);
        if (!isNumber || scale <= 0)
            scale = 1;
        QByteArray platform = "offscreen";
        if (screenConfig.open()) {
            screenConfig.write(QStringLiteral("{\"screens\": [{\"name\": \"kiosk\", \"x\": 0, "
                                              "\"y\": 0, \"width\": %1, \"height\": %2}]}")
                                   .arg(qRound(Desktop.width() * scale))
                                   .arg(qRound(Desktop.height() * scale))
                                   .toUtf8());
            screenConfig.close();
            platform += ":configfile=" + QFile::encodeName(screenConfig.fileName());
        }
        qputenv("QT_QPA_PLATFORM", platform);
    }
    QApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments();
    checking = args.removeAll(QStringLiteral("--check")) > 0;
    if (args.size() != 2) {
        std::fprintf(stderr,
            "usage: dialogshots [--check] <output folder> | --grab <file> [window]\n");
        return 2;
    }
    KioskDialogs::setUp(45000, QStringLiteral("Central Library"));
    TsBaseDialog::setDesktopGeometry(Desktop);
    setUpLanguages();

    // One folder per shipped language; without any, the source texts.
    QStringList dialects;
    for (const QString &file : QDir(TranslationFileManager::languagesRoot())
                                   .entryList({QStringLiteral("*.qm")}, QDir::Files, QDir::Name))
        dialects << file.chopped(3);
    if (dialects.isEmpty())
        dialects << QString();
    else
        SupportedLanguageDialects().install(dialects.join(QLatin1Char(',')));
    for (const QString &dialect : dialects) {
        outputFolder = QDir(args.at(1)).filePath(dialect);
        if (!QDir().mkpath(outputFolder)) {
            std::fprintf(stderr, "dialogshots: cannot create %s\n", qPrintable(outputFolder));
            return 1;
        }
        QTranslator translator;
        if (!dialect.isEmpty()
            && (!translator.load(dialect, TranslationFileManager::languagesRoot())
                || !QCoreApplication::installTranslator(&translator))) {
            std::fprintf(stderr, "dialogshots: cannot load %s\n", qPrintable(dialect));
            return 1;
        }
        TsBaseDialog::setLanguageCode(dialect.toUpper());
        TsBaseDialog::setDialogLocale(dialect.isEmpty()
                ? QLocale(QLocale::English, QLocale::UnitedStates)
                : TsBaseDialog::localeOfDialect(dialect));
        dialectShown = dialect.isEmpty() ? QStringLiteral("source") : dialect;
        ClientProcessingDialog::translateTexts();

        shootMessages();
        shootLanguageSelector();
        shootPasswords();
        shootInput();
        shootPageCount();
        shootAccounts();
        shootIdentification();
        shootJobStatus();
        shootMainWindow();
        QCoreApplication::removeTranslator(&translator);
    }
    if (checking)
        std::fprintf(stderr, "dialogshots: %d cut texts\n", findings);
    return written > 0 && findings == 0 ? 0 : 1;
}
