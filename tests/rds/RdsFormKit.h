#pragma once

// The RDS page on a project file in a temporary folder with one RDS source,
// loaded and current; the page is shown offscreen so editing signals fire as
// they do for the user.

#include "KeyRecorder.h"
#include "rds/TabRDS.h"
#include "settings/FMSettings.h"
#include "settings/RDSSource.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// Types text as keys; characters beyond ASCII arrive as key events that
// carry only their text, as an input method delivers them.
inline void typeKeys(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(widget, char(c.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

// Replaces the text of a line edit as the user does and finishes editing.
inline void type(QLineEdit* edit, const QString& text)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    edit->setCursorPosition(0);
    typeKeys(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
}

// Clicks a check box or button near its left edge, where its indicator is.
inline void click(QAbstractButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(4, button->height() / 2));
}

class RdsFormKit
{
public:
    static constexpr int kWaitMs = 30000;

    // A source with rec's settings (name and used kept from newRDS).
    explicit RdsFormKit(const RDSSource& rec = RDSSource())
    {
        store = QSharedPointer<FMSettings>::create(dir.filePath(QStringLiteral("default.fm")));
        id = store->newRDS();
        store->setRDS(id, rec);
        // Every group type sent, so no form group is disabled.
        std::array<GroupRate, GroupRate::kGroupCount> rates{};
        for (int type = 0; type < 16; ++type)
            rates[type] = GroupRate{1, {60, 0, 0, 0}};
        store->setGroupRates(id, rates);
        page = std::make_unique<TabRDS>();
        page->setProgram(store);
        page->show();
        QTRY_COMPARE_WITH_TIMEOUT(page->currentSource(), id, kWaitMs);
        settle();
        store->subscribe(QStringLiteral("rds"), &recorder);
    }

    template <typename T> T* find(const char* name) const
    {
        T* widget = page->findChild<T*>(QLatin1String(name));
        if (!widget)
            qFatal("no widget %s", name);
        return widget;
    }

    // Lets the store's notifications reach the page (and the recorder).
    static void settle()
    {
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
    }

    QVariant key(const QString& field) const
    {
        return store->value(QStringLiteral("rds.%1.").arg(id) + field);
    }

    // Keys the recorder received for this source, short form ("pss").
    QStringList writtenFields() const
    {
        QStringList fields;
        const QString prefix = QStringLiteral("rds.%1/").arg(id);
        for (const QString& k : recorder.keys()) {
            if (k.startsWith(prefix))
                fields.append(k.mid(prefix.size()));
        }
        return fields;
    }

    QTemporaryDir dir;
    QSharedPointer<FMSettings> store;
    KeyRecorder recorder;
    std::unique_ptr<TabRDS> page;
    int id = 0;
};
