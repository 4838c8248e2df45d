// A project opened in the real window and closed without a touch: the
// working copy stays as the project was, and the next start finds nothing
// unsaved.
#include "LinkedEonProject.h"
#include "WindowKit.h"

#include <QCoreApplication>
#include <QFile>
#include <QMap>

class TestProjectOpenClose : public QObject
{
    Q_OBJECT
private slots:
    void linkedEonProjectIsLeftAsItWas()
    {
        using namespace LinkedEonProject;
        WindowKit kit;
        FMManager* window = kit.open();
        const QString project = kit.writeProject(QStringLiteral("linked.fm"), keys());
        const QByteArray before = LinkedEonProject::contents(project);
        ModalQuestions::setNextFileName(project);
        kit.trigger(QStringLiteral("actLoad"));
        QCOMPARE(window->project()->rdsSources().size(), kSources);

        // Every page and strip hears of the opened project and answers.
        kit.settlePages();
        QMap<int, QStringList> shown; // source -> frequencies of its linked row
        for (int s = 1; s <= kSources; ++s) {
            for (const AFEntry& entry : window->project()->rdsSource(s).eon.value(0).af)
                shown[s].append(QString::number(entry.freq));
        }
        QVERIFY(!window->isDirty());

        kit.close();
        QCOMPARE(
            LinkedEonProject::withoutRunTimeKeys(LinkedEonProject::contents(kit.workingCopy())),
            before);
        QCOMPARE(kit.ini->value(QStringLiteral("Last/dirty")).toInt(), 0);
        // The linked rows showed the lists of the plan, with the linked
        // network's own frequency, not the stale stored ones.
        for (int s = 1; s <= kSources; ++s) {
            QVERIFY(shown[s].contains(QString::number(tenthsOf(linkedChannel(s)))));
            QVERIFY(shown[s].join(u' ') != kStaleAf);
        }
    }
};

QTEST_MAIN(TestProjectOpenClose)
#include "tst_projectopenclose.moc"
