// The help menu: the update check and its notice, the release notes
// viewer, the About box and the manual, each on a window whose folder
// beside the program is a temporary one; no query leaves the machine and
// nothing is handed to a real browser or viewer.
#include "WindowKit.h"

#include "main/ReleaseNotes.h"
#include "remote/ProductInfo.h"

#include <QDialog>
#include <QHostInfo>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>

class TestHelp : public QObject
{
    Q_OBJECT

private slots:
    void updateAnswer_data();
    void updateAnswer();
    void updateNotice_data();
    void updateNotice();
    void lookupSwitch_data();
    void lookupSwitch();
    void updatePageWithoutBrowser();
    void releaseNotesPaging();
    void releaseOrder_data();
    void releaseOrder();
    void releaseNotesLanguage_data();
    void releaseNotesLanguage();
    void shippedReleaseNotes_data();
    void shippedReleaseNotes();
    void aboutBox();
    void manual_data();
    void manual();
    void manualNotOpened_data();
    void manualNotOpened();
    void builtManuals_data();
    void builtManuals();
};

namespace {

const QString kHeading = QStringLiteral("Änderungen in Version ");

struct Notes
{
    QString text;
    bool next = false;
    bool last = false;
};

QPushButton* button(QDialog* dialog, const char* name)
{
    return dialog->findChild<QPushButton*>(QLatin1String(name));
}

Notes notesOf(QDialog* dialog)
{
    return {dialog->findChild<QPlainTextEdit*>(QStringLiteral("text"))->toPlainText(),
            button(dialog, "Bnext")->isEnabled(), button(dialog, "Blast")->isEnabled()};
}

void writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

// Opens the release notes from the help menu; action runs on the dialog.
void openNotes(WindowKit& kit, const std::function<void(QDialog*)>& action)
{
    bool ran = false;
    ModalQuestions::setNextDialogAction([&](QDialog* dialog) {
        action(dialog);
        ran = true;
        return int(QDialog::Accepted);
    });
    kit.trigger(QStringLiteral("actRelease"));
    QVERIFY(ran);
}

// An invalid language stands for none stored.
void setLanguage(WindowKit& kit, const QVariant& lang)
{
    if (lang.isValid())
        kit.ini->setValue(QStringLiteral("Board/lang"), lang);
    else
        kit.ini->remove(QStringLiteral("Board/lang"));
}

QHostInfo hostInfo(const QStringList& addresses, QHostInfo::HostInfoError error)
{
    QHostInfo info;
    info.setHostName(Updater::lookupName());
    QList<QHostAddress> list;
    for (const QString& address : addresses)
        list.append(QHostAddress(address));
    info.setAddresses(list);
    info.setError(error);
    if (error != QHostInfo::NoError)
        info.setErrorString(QStringLiteral("Host not found"));
    return info;
}

} // namespace

void TestHelp::updateAnswer_data()
{
    QTest::addColumn<QStringList>("addresses");
    QTest::addColumn<int>("error");
    QTest::addColumn<bool>("notice");
    QTest::newRow("2.0.0.0 alone") << QStringList{"2.0.0.0"} << int(QHostInfo::NoError) << true;
    QTest::newRow("2.0.0.0 first, then another")
        << QStringList{"2.0.0.0", "10.1.2.3"} << int(QHostInfo::NoError) << true;
    QTest::newRow("2.0.0.0 second")
        << QStringList{"10.1.2.3", "2.0.0.0"} << int(QHostInfo::NoError) << false;
    QTest::newRow("another address") << QStringList{"2.0.0.1"} << int(QHostInfo::NoError) << false;
    QTest::newRow("2.0.0.0 as IPv6 mapped")
        << QStringList{"::ffff:2.0.0.0"} << int(QHostInfo::NoError) << false;
    QTest::newRow("no address") << QStringList{} << int(QHostInfo::NoError) << false;
    QTest::newRow("lookup error") << QStringList{} << int(QHostInfo::HostNotFound) << false;
}

// The window asks at start; the answer arrives later, as from the resolver.
void TestHelp::updateAnswer()
{
    QFETCH(QStringList, addresses);
    QFETCH(int, error);
    QFETCH(bool, notice);
    WindowKit kit;
    QStringList names;
    QPointer<Updater> checker;
    Updater::setLookup([&](const QString& name, Updater* asking) {
        names.append(name);
        checker = asking;
    });
    kit.open();
    QCOMPARE(names, QStringList{QStringLiteral("v4-66.update.quorvin.invalid")});
    QVERIFY(names.constFirst().startsWith(QStringLiteral("v4-66.")));
    QVERIFY(checker);
    QCOMPARE(ModalQuestions::asked(), QStringList());
    checker->showHost(hostInfo(addresses, QHostInfo::HostInfoError(error)));
    QCOMPARE(ModalQuestions::asked(),
             notice ? QStringList{FMManager::versionText()} : QStringList());
    QCOMPARE(names.size(), 1);
    QCOMPARE(kit.opened, QList<QUrl>());
}

void TestHelp::updateNotice_data()
{
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QList<QUrl>>("opened");
    QTest::newRow("button opens the product page")
        << true << QList<QUrl>{QUrl(QStringLiteral("https://quorvin.example/"))};
    QTest::newRow("closed opens nothing") << false << QList<QUrl>{};
}

// From the menu the notice shows without any newer release.
void TestHelp::updateNotice()
{
    QFETCH(bool, accept);
    QFETCH(QList<QUrl>, opened);
    WindowKit kit;
    kit.open();
    QString title;
    ModalQuestions::setNextDialogAction([&](QDialog* dialog) {
        title = dialog->windowTitle();
        if (accept)
            QTest::mouseClick(button(dialog, "okButton"), Qt::LeftButton);
        else
            dialog->reject();
        return dialog->result();
    });
    kit.trigger(QStringLiteral("actUpdate"));
    QCOMPARE(title, FMManager::versionText());
    QCOMPARE(kit.opened, opened);
}

void TestHelp::lookupSwitch_data()
{
    QTest::addColumn<bool>("switched");
    QTest::addColumn<QString>("logged");
    // localhost comes from the hosts file: the system's resolver answers it
    // without asking a name server.
    QTest::newRow("system resolver") << false << QStringLiteral("upd: 127.0.0.1 localhost");
    QTest::newRow("switched off")
        << true << QStringLiteral("upd: look-up of localhost not sent (QUORVIN_LOCAL_LOOKUP)");
}

// The tests that start the program set QUORVIN_LOCAL_LOOKUP so that no
// query leaves the machine; without it the program asks the real resolver.
void TestHelp::lookupSwitch()
{
    QFETCH(bool, switched);
    QFETCH(QString, logged);
    static QStringList lines;
    lines.clear();
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& text) {
            if (text.startsWith(QLatin1String("upd:")))
                lines.append(text);
        });
    if (switched)
        qputenv("QUORVIN_LOCAL_LOOKUP", "1");
    Updater::setLookup({});
    Updater checker;
    QSignalSpy newer(&checker, &Updater::hasUpdate);
    checker.lookUp(QStringLiteral("localhost"));
    QTRY_VERIFY_WITH_TIMEOUT(!lines.filter(QStringLiteral("localhost")).isEmpty() &&
                                 (!switched || lines.size() == 2),
                             30000);
    qunsetenv("QUORVIN_LOCAL_LOOKUP");
    qInstallMessageHandler(previous);
    QVERIFY2(lines.constFirst().startsWith(logged), qPrintable(lines.join(QLatin1Char('\n'))));
    if (switched)
        QCOMPARE(lines.at(1), QStringLiteral("upd:  localhost Host not found"));
    QCOMPARE(newer.size(), 0);
}

// The notice's button names the address when no browser takes it.
void TestHelp::updatePageWithoutBrowser()
{
    WindowKit kit;
    UrlOpener::setHandler([&](const QUrl& url) {
        kit.opened.append(url);
        return false;
    });
    kit.open();
    ModalQuestions::setNextDialogAction([](QDialog* dialog) {
        QTest::mouseClick(button(dialog, "okButton"), Qt::LeftButton);
        return dialog->result();
    });
    kit.trigger(QStringLiteral("actUpdate"));
    QCOMPARE(kit.opened, QList<QUrl>{QUrl(QStringLiteral("https://quorvin.example/"))});
    QCOMPARE(ModalQuestions::asked(),
             (QStringList{FMManager::versionText(), QStringLiteral("Updates")}));
    QVERIFY2(ModalQuestions::askedTexts().constLast().contains(
                 QLatin1String("https://quorvin.example/")),
             qPrintable(ModalQuestions::askedTexts().join(QLatin1Char('|'))));
}

void TestHelp::releaseNotesPaging()
{
    WindowKit kit;
    writeFile(kit.path(QStringLiteral("Quorvin_de.txt")),
              "[465]\ntext=\"middle\"\n[466]\ntext=\"  newest\\nsecond line  \"\n"
              "[464]\ntext=oldest, with a comma\n");
    kit.open();
    QList<Notes> seen;
    openNotes(kit, [&](QDialog* dialog) {
        seen.append(notesOf(dialog));
        QTest::mouseClick(button(dialog, "Blast"), Qt::LeftButton);
        seen.append(notesOf(dialog));
        QTest::mouseClick(button(dialog, "Blast"), Qt::LeftButton);
        seen.append(notesOf(dialog));
        QTest::mouseClick(button(dialog, "Blast"), Qt::LeftButton);
        seen.append(notesOf(dialog));
        QTest::mouseClick(button(dialog, "Bnext"), Qt::LeftButton);
        seen.append(notesOf(dialog));
    });
    QCOMPARE(seen.size(), 5);
    QCOMPARE(seen[0].text, kHeading + QStringLiteral("4.66:\n\nnewest\nsecond line"));
    QVERIFY(!seen[0].next && seen[0].last);
    QCOMPARE(seen[1].text, kHeading + QStringLiteral("4.65:\n\nmiddle"));
    QVERIFY(seen[1].next && seen[1].last);
    QCOMPARE(seen[2].text, kHeading + QStringLiteral("4.64:\n\noldest, with a comma"));
    QVERIFY(seen[2].next && !seen[2].last);
    QCOMPARE(seen[3].text, seen[2].text);
    QCOMPARE(seen[4].text, seen[1].text);
    QCOMPARE(ModalQuestions::asked(), QStringList{QStringLiteral("Neuigkeiten")});
}

void TestHelp::releaseOrder_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QStringList>("releases");
    QTest::newRow("10.00 is newer than 4.66")
        << QByteArray("[1000]\ntext=ten\n[466]\ntext=four\n") << QStringLiteral("10.00:\n\nten")
        << QStringList{"466", "1000"};
    QTest::newRow("9.99 is older than 10.00")
        << QByteArray("[1000]\ntext=ten\n[999]\ntext=nine\n") << QStringLiteral("10.00:\n\nten")
        << QStringList{"999", "1000"};
    QTest::newRow("groups that are no number are no releases")
        << QByteArray("[466]\ntext=four\n[notes]\ntext=x\n[4.70]\ntext=y\n[500b]\ntext=z\n")
        << QStringLiteral("4.66:\n\nfour") << QStringList{"466"};
    QTest::newRow("a release without text shows its heading")
        << QByteArray("[466]\nby=nobody\n[465]\ntext=old\n") << QStringLiteral("4.66:\n\n")
        << QStringList{"465", "466"};
    QTest::newRow("no release at all")
        << QByteArray("[notes]\ntext=x\n") << QString() << QStringList{};
}

void TestHelp::releaseOrder()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, shown);
    QFETCH(QStringList, releases);
    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("Quorvin_en.txt")), file);
    ProgramFolder::setPath(dir.path());
    ReleaseNotes notes(nullptr, QStringLiteral("en"));
    ProgramFolder::setPath(QString());
    const QString text = notesOf(&notes).text;
    QCOMPARE(text, shown.isEmpty() ? QString() : kHeading + shown);
    QSettings read(dir.filePath(QStringLiteral("Quorvin_en.txt")), QSettings::IniFormat);
    QCOMPARE(ReleaseNotes::releases(read.childGroups()), releases);
}

void TestHelp::releaseNotesLanguage_data()
{
    QTest::addColumn<QVariant>("lang");
    QTest::addColumn<QString>("shown");
    QTest::newRow("DE reads the German file") << QVariant("DE") << QStringLiteral("deutsch");
    QTest::newRow("en reads the English file") << QVariant("en") << QStringLiteral("english");
    QTest::newRow("none stored reads English") << QVariant() << QStringLiteral("english");
    QTest::newRow("a language without a file") << QVariant("fr") << QString();
}

void TestHelp::releaseNotesLanguage()
{
    QFETCH(QVariant, lang);
    QFETCH(QString, shown);
    WindowKit kit;
    writeFile(kit.path(QStringLiteral("Quorvin_de.txt")), "[466]\ntext=deutsch\n");
    writeFile(kit.path(QStringLiteral("Quorvin_en.txt")), "[466]\ntext=english\n");
    setLanguage(kit, lang);
    kit.open();
    Notes seen;
    openNotes(kit, [&](QDialog* dialog) { seen = notesOf(dialog); });
    QCOMPARE(seen.text, shown.isEmpty() ? QString() : kHeading + "4.66:\n\n" + shown);
    QVERIFY(!seen.next && !seen.last);
}

void TestHelp::shippedReleaseNotes_data()
{
    QTest::addColumn<QString>("lang");
    QTest::newRow("English") << QStringLiteral("en");
    QTest::newRow("German") << QStringLiteral("de");
}

// The files the build copies beside the program open on this release.
void TestHelp::shippedReleaseNotes()
{
    QFETCH(QString, lang);
    ProgramFolder::setPath(QStringLiteral(PROGRAM_DIR));
    ReleaseNotes notes(nullptr, lang);
    ProgramFolder::setPath(QString());
    const QString heading =
        kHeading + QString::fromLatin1(ProductInfo::kVersion).mid(1) + QStringLiteral(":\n\n");
    const QString text = notesOf(&notes).text;
    QVERIFY2(text.startsWith(heading), qPrintable(text));
    QVERIFY(text.size() > heading.size() + 100);
    QVERIFY(!notesOf(&notes).next);
    QSettings shipped(
        QStringLiteral(TEST_SOURCE_ROOT "/resources/release/Quorvin_%1.txt").arg(lang),
        QSettings::IniFormat);
    QCOMPARE(shipped.status(), QSettings::NoError);
    QVERIFY(ReleaseNotes::releases(shipped.childGroups()).contains(QStringLiteral("466")));
}

void TestHelp::aboutBox()
{
    WindowKit kit;
    kit.open();
    QString title;
    QString address;
    ModalQuestions::setNextDialogAction([&](QDialog* dialog) {
        title = dialog->windowTitle();
        address = dialog->findChild<QLabel*>(QStringLiteral("address"))->text();
        QTest::mouseClick(button(dialog, "okButton"), Qt::LeftButton);
        return dialog->result();
    });
    kit.trigger(QStringLiteral("actAbout"));
    QCOMPARE(title, FMManager::versionText());
    QVERIFY(address.contains(QStringLiteral("href=\"https://quorvin.example/\">Projektseite<")));
    QVERIFY(address.contains(QStringLiteral("Tel: ")));
    QCOMPARE(kit.opened, QList<QUrl>());
}

void TestHelp::manual_data()
{
    QTest::addColumn<QVariant>("lang");
    QTest::addColumn<QString>("file");
    QTest::newRow("en") << QVariant("en") << QStringLiteral("Quorvin_en.pdf");
    QTest::newRow("De") << QVariant("De") << QStringLiteral("Quorvin_de.pdf");
    QTest::newRow("none stored") << QVariant() << QStringLiteral("Quorvin_en.pdf");
}

// Started from another folder that holds a manual of its own: the one
// beside the program opens.
void TestHelp::manual()
{
    QFETCH(QVariant, lang);
    QFETCH(QString, file);
    WindowKit kit;
    QTemporaryDir elsewhere;
    for (const QString name : {"Quorvin_en.pdf", "Quorvin_de.pdf"}) {
        writeFile(kit.path(name), "%PDF-1.4\n");
        writeFile(elsewhere.filePath(name), "%PDF-1.4\n");
    }
    setLanguage(kit, lang);
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(elsewhere.path()));
    kit.open();
    kit.trigger(QStringLiteral("actDocu"));
    QDir::setCurrent(previous);
    QCOMPARE(kit.opened, QList<QUrl>{QUrl::fromLocalFile(kit.path(file))});
    QCOMPARE(ModalQuestions::asked(), QStringList());
}

void TestHelp::manualNotOpened_data()
{
    QTest::addColumn<bool>("present");
    QTest::addColumn<bool>("viewer");
    QTest::newRow("no manual beside the program") << false << true;
    QTest::newRow("no viewer opens it") << true << false;
}

void TestHelp::manualNotOpened()
{
    QFETCH(bool, present);
    QFETCH(bool, viewer);
    WindowKit kit;
    const QString manual = kit.path(QStringLiteral("Quorvin_de.pdf"));
    if (present)
        writeFile(manual, "%PDF-1.4\n");
    UrlOpener::setHandler([&](const QUrl& url) {
        kit.opened.append(url);
        return viewer;
    });
    kit.open();
    kit.trigger(QStringLiteral("actDocu"));
    QCOMPARE(ModalQuestions::asked(), QStringList{QStringLiteral("Dokumentation")});
    QCOMPARE(ModalQuestions::askedTexts().size(), 1);
    QVERIFY2(ModalQuestions::askedTexts().constFirst().contains(QDir::toNativeSeparators(manual)),
             qPrintable(ModalQuestions::askedTexts().constFirst()));
    QCOMPARE(kit.opened.size(), present ? 1 : 0);
}

void TestHelp::builtManuals_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("English") << QStringLiteral("Quorvin_en.pdf");
    QTest::newRow("German") << QStringLiteral("Quorvin_de.pdf");
}

void TestHelp::builtManuals()
{
    QFETCH(QString, name);
    QFile pdf(QDir(QStringLiteral(PROGRAM_DIR)).filePath(name));
    QVERIFY2(pdf.open(QIODevice::ReadOnly), qPrintable(pdf.fileName()));
    const QByteArray content = pdf.readAll();
    QVERIFY(content.startsWith("%PDF-"));
    QVERIFY(content.trimmed().endsWith("%%EOF"));
    QVERIFY(content.count("/Type /Page") - content.count("/Type /Pages") >= 1);
}

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
