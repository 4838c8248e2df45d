// The one seam for modal questions: answers queued ahead are taken in
// order by their kind of question; unattended, the rest are dismissed.
#include "gui/ModalQuestions.h"

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int kPollMs = 10;

// Once a question is on screen: closes it as a shutdown does, or only
// rejects its dialog as any other close would.
void whenAsked(QObject* context, bool shutdown)
{
    auto* poll = new QTimer(context);
    QObject::connect(poll, &QTimer::timeout, context, [poll, shutdown] {
        QWidget* shown = QApplication::activeModalWidget();
        if (!shown)
            return;
        poll->stop();
        poll->deleteLater();
        if (shutdown)
            ModalQuestions::dismissAll();
        else if (auto* dialog = qobject_cast<QDialog*>(shown))
            dialog->reject();
    });
    poll->start(kPollMs);
}

} // namespace

class TestModalQuestions : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void answersInOrderByKind();
    void dialogActionClicksInside();
    void unattendedDismisses();
    void severalFileNames();
    void openQuestionClosedAsDismissed_data();
    void openQuestionClosedAsDismissed();
};

void TestModalQuestions::init()
{
    ModalQuestions::setUnattended(true);
    ModalQuestions::clear();
}

void TestModalQuestions::answersInOrderByKind()
{
    ModalQuestions::setNextFileName(QStringLiteral("/tmp/a.fm"));
    ModalQuestions::setNextAnswer(QMessageBox::Discard);
    ModalQuestions::setNextAnswer(QMessageBox::Save);
    QCOMPARE(ModalQuestions::ask(nullptr, QMessageBox::Warning, QStringLiteral("one"), QString(),
                                 QMessageBox::Save | QMessageBox::Discard),
             QMessageBox::Discard);
    QCOMPARE(ModalQuestions::openFileName(nullptr, QStringLiteral("two"), QString(), QString()),
             QStringLiteral("/tmp/a.fm"));
    QCOMPARE(ModalQuestions::ask(nullptr, QMessageBox::Warning, QStringLiteral("three"), QString(),
                                 QMessageBox::Save | QMessageBox::Discard),
             QMessageBox::Save);
    QCOMPARE(ModalQuestions::asked(),
             (QStringList{QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("three")}));
    QCOMPARE(ModalQuestions::unanswered(), 0);
}

void TestModalQuestions::dialogActionClicksInside()
{
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("choose"));
    auto* button = new QPushButton(&dialog);
    button->setObjectName(QStringLiteral("Bok"));
    connect(button, &QPushButton::clicked, &dialog, &QDialog::accept);
    ModalQuestions::setNextDialogAction([](QDialog* shown) {
        shown->findChild<QPushButton*>(QStringLiteral("Bok"))->click();
        return shown->result();
    });
    QCOMPARE(ModalQuestions::exec(&dialog), int(QDialog::Accepted));
    ModalQuestions::setNextDialogResult(QDialog::Rejected);
    QCOMPARE(ModalQuestions::exec(&dialog), int(QDialog::Rejected));
    QCOMPARE(ModalQuestions::asked(),
             (QStringList{QStringLiteral("choose"), QStringLiteral("choose")}));
}

void TestModalQuestions::unattendedDismisses()
{
    QCOMPARE(ModalQuestions::ask(nullptr, QMessageBox::Warning, QStringLiteral("q"), QString(),
                                 QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel),
             QMessageBox::Cancel);
    QCOMPARE(ModalQuestions::ask(nullptr, QMessageBox::Information, QStringLiteral("q"), QString(),
                                 QMessageBox::Ok),
             QMessageBox::Ok);
    QCOMPARE(ModalQuestions::saveFileName(nullptr, QStringLiteral("f"), QString(), QString()),
             QString());
    QDialog dialog;
    QCOMPARE(ModalQuestions::exec(&dialog), int(QDialog::Rejected));
    QCOMPARE(ModalQuestions::unanswered(), 4);
}

void TestModalQuestions::severalFileNames()
{
    const QStringList two{QStringLiteral("/tmp/a.flac"), QStringLiteral("/tmp/b.ogg")};
    ModalQuestions::setNextFileNames(two);
    ModalQuestions::setNextFileName(QStringLiteral("/tmp/c.wav"));
    QCOMPARE(ModalQuestions::openFileNames(nullptr, QStringLiteral("one"), QString(), QString()),
             two);
    QCOMPARE(ModalQuestions::openFileNames(nullptr, QStringLiteral("two"), QString(), QString()),
             QStringList{QStringLiteral("/tmp/c.wav")});
    QCOMPARE(ModalQuestions::openFileNames(nullptr, QStringLiteral("three"), QString(), QString()),
             QStringList());
    QCOMPARE(ModalQuestions::unanswered(), 1);
    QCOMPARE(ModalQuestions::asked(),
             (QStringList{QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("three")}));
}

void TestModalQuestions::openQuestionClosedAsDismissed_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("shutdown");
    QTest::addColumn<QString>("answer");
    for (const bool shutdown : {true, false}) {
        const char* how = shutdown ? "shut down" : "rejected";
        QTest::addRow("save question %s", how) << "save" << shutdown << "Cancel";
        QTest::addRow("OK box %s", how) << "ok" << shutdown << "Ok";
        QTest::addRow("file dialog %s", how) << "file" << shutdown << "";
        QTest::addRow("dialog %s", how) << "dialog" << shutdown << "Rejected";
    }
}

// However the open question ends without the user's choice, the caller gets
// the answer of a dismissed question, never one that lets it go on.
void TestModalQuestions::openQuestionClosedAsDismissed()
{
    QFETCH(QString, kind);
    QFETCH(bool, shutdown);
    QFETCH(QString, answer);
    ModalQuestions::setUnattended(false);
    whenAsked(this, shutdown);
    QString got;
    if (kind == QLatin1String("save") || kind == QLatin1String("ok")) {
        const auto buttons = kind == QLatin1String("ok")
                                 ? QMessageBox::StandardButtons(QMessageBox::Ok)
                                 : QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel;
        const auto button = ModalQuestions::ask(nullptr, QMessageBox::Warning,
                                                QStringLiteral("question"), QString(), buttons);
        got = button == QMessageBox::Cancel ? QStringLiteral("Cancel")
              : button == QMessageBox::Ok   ? QStringLiteral("Ok")
                                            : QString::number(int(button), 16);
    } else if (kind == QLatin1String("file")) {
        got = ModalQuestions::saveFileName(nullptr, QStringLiteral("file"), QString(), QString());
    } else {
        QDialog dialog;
        got = ModalQuestions::exec(&dialog) == QDialog::Rejected ? QStringLiteral("Rejected")
                                                                 : QStringLiteral("Accepted");
    }
    QCOMPARE(got, answer);
    QCOMPARE(ModalQuestions::openQuestions(), 0);
    // After a shutdown no question is shown any more.
    if (shutdown) {
        QCOMPARE(ModalQuestions::ask(nullptr, QMessageBox::Warning, QStringLiteral("later"),
                                     QString(), QMessageBox::Save | QMessageBox::Cancel),
                 QMessageBox::Cancel);
        QCOMPARE(ModalQuestions::unanswered(), 1);
    }
}

QTEST_MAIN(TestModalQuestions)
#include "tst_modalquestions.moc"
