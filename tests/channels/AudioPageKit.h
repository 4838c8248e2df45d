#pragma once

// The audio page on a project file in a temporary folder, shown and active
// so that focus and editors behave as for the user. Store notifications are
// delivered on request (deliver()), as the event loop would do.

#include "channels/FMAudio.h"
#include "channels/HuxSpinBox.h"
#include "channels/SrcAudio.h"
#include "channels/SrcFiles.h"
#include "channels/SrcPList.h"
#include "gui/ModalQuestions.h"
#include "settings/FMSettings.h"
#include "settings/SetValue.h"

#include <QApplication>
#include <QComboBox>
#include <QDropEvent>
#include <QMimeData>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class AudioPageKit
{
public:
    using Keys = QList<std::pair<QString, QVariant>>;

    // keys in ini form ("audio.1/type", "playlist.3/name")
    explicit AudioPageKit(const Keys& keys = {})
    {
        ModalQuestions::setUnattended(true);
        ModalQuestions::clear();
        {
            QSettings project(projectPath(), QSettings::IniFormat);
            for (const auto& [key, value] : keys)
                project.setValue(key, value);
        }
        store = QSharedPointer<FMSettings>::create(projectPath());
        page = std::make_unique<FMAudio>();
        page->resize(900, 400);
        page->show();
        QApplication::setActiveWindow(page.get());
        page->attach(store);
    }

    QString projectPath() const { return dir.filePath(QStringLiteral("project.fm")); }
    QString path(const QString& name) const { return dir.filePath(name); }

    // Hands the page what the store has posted to it so far, then lets it
    // redraw its tables once, as at the end of an event-loop pass.
    void deliver() const
    {
        // Run-time values (the song list) come in the store's one batch
        // for every page, not as events of the page's own.
        QCoreApplication::sendPostedEvents(nullptr, SetValue::kType);
        QCoreApplication::sendPostedEvents(page.get(), QEvent::MetaCall);
    }

    template <typename T> T* find(const QString& name) const { return page->findChild<T*>(name); }
    SrcAudio* sources() const { return find<SrcAudio>(QStringLiteral("sources")); }
    SrcPList* playlists() const { return find<SrcPList>(QStringLiteral("playlists")); }
    SrcFiles* files() const { return find<SrcFiles>(QStringLiteral("files")); }

    void click(const QString& button) const
    {
        auto* found = find<QPushButton>(button);
        QVERIFY2(found, qPrintable(button));
        QTest::mouseClick(found, Qt::LeftButton);
        deliver();
    }

    QComboBox* typeBox(int row) const
    {
        return qobject_cast<QComboBox*>(sources()->cellWidget(row, 1));
    }
    QWidget* form(int row) const { return sources()->cellWidget(row, 2); }
    QSpinBox* field(int row, const QString& name) const
    {
        QWidget* shown = form(row);
        return shown ? shown->findChild<QSpinBox*>(name) : nullptr;
    }

    QStringList column(QTableWidget* table, int column = 0) const
    {
        QStringList texts;
        for (int row = 0; row < table->rowCount(); ++row) {
            const QTableWidgetItem* cell = table->item(row, column);
            texts.append(cell ? cell->text() : QStringLiteral("<none>"));
        }
        return texts;
    }

    // The table's own drag data for these rows (column 0, or the column given).
    static QMimeData* dragRows(QTableWidget* table, const QList<int>& rows, int column = 0)
    {
        QModelIndexList indexes;
        for (int row : rows)
            indexes.append(table->model()->index(row, column));
        return table->model()->mimeData(indexes);
    }

    // A drag from elsewhere that enters the table's viewport, moves to a
    // point and is let go there, as the toolkit delivers it: the drop
    // arrives only when entering and moving were accepted, otherwise the
    // drag leaves. Returns whether the drop was delivered.
    static bool dragAndDrop(QTableWidget* table, const QPoint& at, const QMimeData* data)
    {
        QWidget* viewport = table->viewport();
        QDragEnterEvent enter(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &enter);
        if (!enter.isAccepted())
            return false;
        QDragMoveEvent move(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &move);
        if (!move.isAccepted()) {
            QDragLeaveEvent leave;
            QApplication::sendEvent(viewport, &leave);
            return false;
        }
        QDropEvent drop(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &drop);
        return true;
    }

    static bool entered(QTableWidget* table, const QMimeData* data)
    {
        QDragEnterEvent enter(QPoint(2, 2), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(table->viewport(), &enter);
        QDragLeaveEvent leave;
        QApplication::sendEvent(table->viewport(), &leave);
        return enter.isAccepted();
    }

    static QPoint cellCentre(QTableWidget* table, int row, int column = 0)
    {
        return table->visualRect(table->model()->index(row, column)).center();
    }

    // Below the last row, still inside the viewport.
    static QPoint belowRows(QTableWidget* table)
    {
        const int last = table->rowCount() - 1;
        const int y = last < 0 ? 4 : table->visualRect(table->model()->index(last, 0)).bottom() + 6;
        return QPoint(4, y);
    }

    QTemporaryDir dir;
    QSharedPointer<FMSettings> store;
    std::unique_ptr<FMAudio> page;
};
