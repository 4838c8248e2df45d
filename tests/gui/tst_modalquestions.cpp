// The one seam for modal questions: answers queued ahead are taken in
// order by their kind of question; unattended, the rest are dismissed.
#include "gui/ModalQuestions.h"

#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

class TestModalQuestions : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void answersInOrderByKind();
    void dialogActionClicksInside();
    void unattendedDismisses();
    void severalFileNames();
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

QTEST_MAIN(TestModalQuestions)
#include "tst_modalquestions.moc"
