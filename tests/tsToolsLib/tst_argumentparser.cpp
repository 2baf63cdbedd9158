#include "ArgumentParser.h"

#include <QTest>

using Options = QMap<QString, QString>;

class tst_ArgumentParser : public QObject
{
    Q_OBJECT

private slots:
    void parsesWords_data();
    void parsesWords();
    void commandLineTextSplitsAtWhiteSpace_data();
    void commandLineTextSplitsAtWhiteSpace();
    void lookupIgnoresCase();
    void argumentValues_data();
    void argumentValues();
    void parsingAddsToWhatIsHeld();
};

void tst_ArgumentParser::parsesWords_data()
{
    // clang-format off
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<Options>("options");
    QTest::addColumn<QStringList>("fields");

    QTest::addRow("program path only")
        << QStringList {"/opt/pelloraVav"} << Options {} << QStringList {"/opt/pelloraVav"};
    QTest::addRow("example command line")
        << QStringList {"prog", "-locale=fr_ca", "-Dialect:de_de", "Printer_A", "'Lab 2'"}
        << Options {{"LOCALE", "fr_ca"}, {"DIALECT", "de_de"}}
        << QStringList {"prog", "Printer_A", "Lab 2"};
    QTest::addRow("same name in two cases")
        << QStringList {"-LOCALE=en_us", "-locale=en_us"} << Options {{"LOCALE", "en_us"}}
        << QStringList {};
    QTest::addRow("first occurrence wins")
        << QStringList {"-locale=fr_ca", "-locale=de_de"} << Options {{"LOCALE", "fr_ca"}}
        << QStringList {};
    QTest::addRow("value keeps its case")
        << QStringList {"-Printer=Lab_A"} << Options {{"PRINTER", "Lab_A"}} << QStringList {};
    QTest::addRow("equals before colon")
        << QStringList {"-path=a:b"} << Options {{"PATH", "a:b"}} << QStringList {};
    QTest::addRow("colon without equals")
        << QStringList {"-path:b"} << Options {{"PATH", "b"}} << QStringList {};
    QTest::addRow("several equals")
        << QStringList {"-a=b=c"} << Options {{"A", "b:c"}} << QStringList {};
    QTest::addRow("empty value")
        << QStringList {"-locale="} << Options {{"LOCALE", ""}} << QStringList {};
    QTest::addRow("no value")
        << QStringList {"-kiosk"} << Options {{"KIOSK", ""}} << QStringList {};
    QTest::addRow("equals sign alone")
        << QStringList {"-="} << Options {{"=", ""}} << QStringList {};
    QTest::addRow("dash alone") << QStringList {"-"} << Options {} << QStringList {};
    QTest::addRow("colons only") << QStringList {"-:", "-:::"} << Options {} << QStringList {};
    QTest::addRow("quotes removed from fields")
        << QStringList {"\"Lab\"", "it's", "''"} << Options {} << QStringList {"Lab", "its", ""};
    QTest::addRow("quotes kept in option values")
        << QStringList {"-name='x'"} << Options {{"NAME", "'x'"}} << QStringList {};
    // clang-format on
}

void tst_ArgumentParser::parsesWords()
{
    QFETCH(QStringList, words);
    QFETCH(Options, options);
    QFETCH(QStringList, fields);

    // The argc/argv form and word by word give the same result.
    QList<QByteArray> storage;
    std::vector<char *> argv;
    for (const QString &word : words)
        storage.append(word.toLocal8Bit());
    for (QByteArray &bytes : storage)
        argv.push_back(bytes.data());
    argv.push_back(nullptr);
    const ArgumentParser fromArgv(int(words.size()), argv.data());

    ArgumentParser byWord;
    for (const QString &word : words)
        byWord.parseArgument(word);

    for (const ArgumentParser *parser : {&fromArgv, static_cast<const ArgumentParser *>(&byWord)}) {
        QCOMPARE(parser->getArgumentsMap(), options);
        QCOMPARE(parser->numArgumentsInMap(), options.size());
        QCOMPARE(parser->getFieldList(), fields);
    }
}

void tst_ArgumentParser::commandLineTextSplitsAtWhiteSpace_data()
{
    // clang-format off
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<Options>("options");
    QTest::addColumn<QStringList>("fields");

    QTest::addRow("empty") << QString() << Options {} << QStringList {};
    QTest::addRow("blanks only") << QStringLiteral(" \t\n ") << Options {} << QStringList {};
    QTest::addRow("runs of white space")
        << QStringLiteral("  prog \t -locale=fr_ca\n\nPrinter_A  ") << Options {{"LOCALE", "fr_ca"}}
        << QStringList {"prog", "Printer_A"};
    QTest::addRow("quotes do not group")
        << QStringLiteral("prog 'Lab 2'") << Options {} << QStringList {"prog", "Lab", "2"};
    // clang-format on
}

void tst_ArgumentParser::commandLineTextSplitsAtWhiteSpace()
{
    QFETCH(QString, commandLine);
    QFETCH(Options, options);
    QFETCH(QStringList, fields);
    const ArgumentParser parser(commandLine);
    QCOMPARE(parser.getArgumentsMap(), options);
    QCOMPARE(parser.getFieldList(), fields);
}

void tst_ArgumentParser::lookupIgnoresCase()
{
    const ArgumentParser parser(QStringLiteral("prog -LOCALE=en_us -dialect:de_de"));
    QVERIFY(parser.isArgumentInMap(QStringLiteral("Locale")));
    QVERIFY(parser.isArgumentInMap(QStringLiteral("DIALECT")));
    QVERIFY(!parser.isArgumentInMap(QStringLiteral("prog")));
    QCOMPARE(parser.getArgument(QStringLiteral("locale")), QStringLiteral("en_us"));
    QCOMPARE(parser.getArgument(QStringLiteral("Dialect")), QStringLiteral("de_de"));
    QVERIFY(parser.getArgument(QStringLiteral("missing")).isEmpty());
}

void tst_ArgumentParser::argumentValues_data()
{
    // clang-format off
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QStringList>("values");

    QTest::addRow("empty pieces dropped")
        << QStringLiteral("-list=a,b,,c") << QStringLiteral(",") << QStringList {"a", "b", "c"};
    QTest::addRow("not given") << QString() << QStringLiteral(",") << QStringList {};
    QTest::addRow("empty value")
        << QStringLiteral("-list=") << QStringLiteral(",") << QStringList {};
    QTest::addRow("longer separator")
        << QStringLiteral("-list=a;;b;;;;c") << QStringLiteral(";;") << QStringList {"a", "b", "c"};
    QTest::addRow("colons from the value")
        << QStringLiteral("-list=a=b:c") << QStringLiteral(":") << QStringList {"a", "b", "c"};
    QTest::addRow("empty separator")
        << QStringLiteral("-list=a,b") << QString() << QStringList {"a,b"};
    // clang-format on
}

void tst_ArgumentParser::argumentValues()
{
    QFETCH(QString, commandLine);
    QFETCH(QString, separator);
    QFETCH(QStringList, values);
    const ArgumentParser parser(commandLine);
    QCOMPARE(parser.getArgumentValues(QStringLiteral("List"), separator), values);
}

void tst_ArgumentParser::parsingAddsToWhatIsHeld()
{
    ArgumentParser parser(QStringLiteral("prog -locale=fr_ca"));
    parser.parseArguments(QStringLiteral("-locale=de_de -dialect=en_us Printer_B"));
    QCOMPARE(parser.getArgument(QStringLiteral("locale")), QStringLiteral("fr_ca"));
    QCOMPARE(parser.getArgument(QStringLiteral("dialect")), QStringLiteral("en_us"));
    QCOMPARE(parser.getFieldList(), (QStringList {"prog", "Printer_B"}));
}

QTEST_MAIN(tst_ArgumentParser)
#include "tst_argumentparser.moc"
