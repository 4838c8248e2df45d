// Project files of the window: the user's projects are copied onto the
// store's working copy and back; new, open, save as, revert, examples, the
// recent list, the unsaved-changes state and the hand-over of every new
// store to all that hold it.
#include "main/FMManager.h"

#include "main/EventLog.h"
#include "main/ProgramFolder.h"
#include "main/ProjectFiles.h"
#include "ui_FMManager.h"

#include "board/FMBoard.h"
#include "channels/FMAudio.h"
#include "channels/FMChannel.h"
#include "channels/Spectrum.h"
#include "channels/TabFlag.h"
#include "dynamic/timeline/Dynamic.h"
#include "gui/FramePacer.h"
#include "gui/ModalQuestions.h"
#include "rds/TabRDS.h"
#include "remote/FMServer.h"
#include "settings/FMSettings.h"
#include "tmc/page/TabTMC.h"

#include <QCloseEvent>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStatusBar>
#include <QTimer>

namespace {

const QString kRecentKey = QStringLiteral("Last/file%1");
const QString kOldWorkingCopy = QStringLiteral("default.fm");
const QString kExamples = QStringLiteral("examples/");
constexpr int kLayoutStateVersion = 0;

QString projectFilter()
{
    return FMManager::tr("FM-Einstellung (*.fm);;Alle Dateien (*)");
}

// Why a copy onto target failed, as far as its folder tells.
QString saveFailureReason(const QString& target)
{
    const QFileInfo file(target);
    const QFileInfo folder(file.absolutePath());
    if (!folder.isDir())
        return FMManager::tr("Der Ordner existiert nicht.");
    if (file.isDir())
        return FMManager::tr("Das Ziel ist ein Ordner.");
    if (!folder.isWritable() || (file.exists() && !file.isWritable()))
        return FMManager::tr("Keine Schreibberechtigung.");
    return FMManager::tr("Die Datei konnte nicht geschrieben werden.");
}

// Items of a page tab's layout that are pages of type Page, in layout order.
template <typename Page> QList<Page*> pagesIn(QWidget* tab)
{
    QList<Page*> found;
    QLayout* layout = tab->layout();
    for (int i = 0; layout && i < layout->count(); ++i) {
        if (auto* page = qobject_cast<Page*>(layout->itemAt(i)->widget()))
            found.append(page);
    }
    return found;
}

} // namespace

QString FMManager::iniPath() const
{
    return ini->fileName();
}

QString FMManager::defaultProject() const
{
    return ProjectFiles::workingCopyPath(iniPath());
}

// Files the program keeps for itself, never a project to save onto.
bool FMManager::isProgramFile(const QString& path) const
{
    return ProjectFiles::isReserved(path, defaultProject(), iniPath());
}

// Older versions kept the working copy as default.fm in the settings
// directory; the default ini takes it over once.
void FMManager::takeOverDefaultProject()
{
    if (QFileInfo(iniPath()).fileName() != QLatin1String("Quorvin.ini"))
        return;
    const QString workingCopy = defaultProject();
    const QString older = settingsDir() + kOldWorkingCopy;
    if (!QFile::exists(workingCopy) && QFile::exists(older))
        QFile::copy(older, workingCopy);
}

// --- loading

void FMManager::loadFile(const QString& path)
{
    if (path.isEmpty())
        return;
    const QString error = loadQuietly(path);
    if (!error.isEmpty())
        ModalQuestions::ask(this, QMessageBox::Warning, tr("Projekt laden"),
                            error + QLatin1Char('\n') + path, QMessageBox::Ok);
}

QString FMManager::openFile(const QString& path)
{
    return loadQuietly(path);
}

QString FMManager::loadQuietly(const QString& path)
{
    const QString workingCopy = defaultProject();
    if (ProjectFiles::samePath(path, workingCopy)) {
        resetTitle();
        openStore(workingCopy);
        return QString();
    }
    // Pending writes of the store go out now, not later over the new copy.
    if (store)
        store->writeNow();
    const QString error = ProjectFiles::loadOntoWorkingCopy(path, workingCopy);
    if (!error.isEmpty()) {
        qDebug("man: not opened [%s]: %s", qPrintable(path), qPrintable(error));
        return error;
    }
    openStore(path);
    return QString();
}

QString FMManager::newFile(const QString& path)
{
    if (QFileInfo::exists(path))
        return tr("Datei existiert bereits");
    startNewProject(path);
    return QString();
}

// A new project starts from an empty working copy; a file of that name is
// replaced only when the project is saved, and then keeps its backup.
void FMManager::startNewProject(const QString& path)
{
    if (store)
        store->writeNow();
    ProjectFiles::startEmptyWorkingCopy(defaultProject());
    openStore(path);
}

void FMManager::openStore(const QString& path)
{
    const QString workingCopy = defaultProject();
    if (store)
        store->unsubscribeAll(flag->spectrum());
    // The store creates a missing working copy with the process's default
    // mode; the project is nobody else's business.
    ProjectFiles::makePrivate(workingCopy);
    store = QSharedPointer<FMSettings>::create(workingCopy);
    connect(store.get(), &FMSettings::written, this, &FMManager::onWorkingCopyWritten);
    // The pages show the boards' run-time values (play position marks,
    // status lights, the RDS monitor) and the keys a remote client may set
    // line after line: every other frame is often enough for an eye that
    // watches them, and each delivery repaints and lays out dozens of strips.
    store->setRunTimeInterval(2 * FramePacer::kFrameMs);
    qDebug("man: open [%s]", qPrintable(workingCopy));
    handOver(path);
    if (!ProjectFiles::samePath(path, workingCopy)) {
        dirty = false;
        addRecent(path);
    }
    enableBoardActions();
    updateBand();
}

// Every holder takes its own share of the new store; the old one lives on
// until the last holder has let go of it.
void FMManager::handOver(const QString& path)
{
    store->setModulatorCount(modCount);
    flag->setBand(store->band(), store->attenuation());
    Spectrum* spectrum = flag->spectrum();
    spectrum->setChannelCount(modCount * kChannelsPerBoard);
    store->subscribe(QStringLiteral("channel"), spectrum);
    // Of the run-time values the spectrum shows only the distances.
    store->subscribe(QStringLiteral("chinfo.*/dist"), spectrum);
    store->takeLatestStateValues(spectrum);
    for (int n = 1; n <= kChannels; ++n)
        spectrum->setChannel(store->channel(n));

    timeline->setSettings(store);
    eventLog->observeAll(store);
    for (FMBoard* b : boards) {
        if (b)
            b->setConfig(store);
    }
    for (FMChannel* strip : strips) {
        if (strip)
            strip->refresh(store);
    }
    remoteServer->setProject(store, path);

    store->updateAutoAF(true);
    store->publishDistances();

    for (FMAudio* page : pagesIn<FMAudio>(ui->tabAudio))
        page->attach(store);
    for (TabRDS* page : pagesIn<TabRDS>(ui->tabRDS))
        page->setProgram(store);
    for (TabTMC* page : pagesIn<TabTMC>(ui->tabTMC))
        page->setProgram(store);
}

void FMManager::loadFile()
{
    if (notifySave(tr("Projekt laden")) == QMessageBox::Cancel)
        return;
    loadFile(ModalQuestions::openFileName(this, tr("FM-Einstellung laden"), lastDirectory(),
                                          projectFilter()));
}

void FMManager::newFile()
{
    if (notifySave(tr("Neues Projekt")) == QMessageBox::Cancel)
        return;
    const QFileInfo last(lastDirectory());
    const QString folder = last.isDir() ? last.absoluteFilePath() : last.absolutePath();
    const QString path =
        ModalQuestions::saveFileName(this, tr("Neues Projekt..."), folder, projectFilter());
    if (!path.isEmpty())
        startNewProject(path);
}

void FMManager::revertFile()
{
    if (notifySave(tr("Projekt zurück setzen?")) == QMessageBox::Cancel)
        return;
    const QFileInfo file(lastFile());
    if (file.exists() && file.isFile()) {
        loadFile(file.filePath());
        return;
    }
    ModalQuestions::ask(this, QMessageBox::Warning, tr("Datei existiert nicht!"),
                        tr("Original Datei nicht gefunden, diese\nwurde evtl. umbenannt oder "
                           "gelöscht.\nDas Projekt kann nicht zurückgesetzt werden."),
                        QMessageBox::Ok);
}

void FMManager::openRecent(QAction* entry)
{
    if (notifySave(tr("Projekt laden")) == QMessageBox::Cancel)
        return;
    if (entry)
        loadFile(entry->text());
}

// act1 .. act6 load examples/11-1.fm .. 11-6.fm, relative to the current
// directory (and so kept relative in the recent list), else from the copy
// the build puts beside the program; a missing example is passed over
// without a word.
void FMManager::getExample()
{
    const auto* action = qobject_cast<QAction*>(sender());
    if (!action || !action->objectName().startsWith(QLatin1String("act")))
        return;
    QString path = kExamples + QStringLiteral("11-%1.fm").arg(action->objectName().mid(3));
    if (!QFileInfo::exists(path))
        path = ProgramFolder::filePath(path);
    if (!QFileInfo::exists(path))
        return;
    if (notifySave(tr("Projekt laden")) == QMessageBox::Cancel)
        return;
    loadFile(path);
}

// --- saving

bool FMManager::saveFile(const QString& target)
{
    if (target.isEmpty())
        return false;
    if (isProgramFile(target)) {
        qDebug("man: not saved onto [%s]", qPrintable(target));
        return false;
    }
    // A saved project carries no random key; the store makes a new one when
    // the file is loaded again.
    if (store) {
        store->rawRemove(QStringLiteral("board/rand"));
        // A working copy that could not be written holds older values than
        // the store: copying it would save a stale project as current.
        if (!store->writeNow()) {
            qWarning("man: save [%s] failed: working copy %s", qPrintable(target),
                     qPrintable(store->writeError()));
            return false;
        }
    }
    const bool saved = ProjectFiles::saveCopy(defaultProject(), target, iniPath());
    qDebug("man: save [%s] %s", qPrintable(target), saved ? "ok" : "failed");
    if (!saved)
        return false;
    if (store)
        store->clearDirty();
    dirty = false;
    // A file that was not written is no project to offer again.
    addRecent(target);
    return true;
}

bool FMManager::saveFileAs()
{
    const QString target =
        ModalQuestions::saveFileName(this, tr("Speichern unter..."), lastFile(), projectFilter());
    if (target.isEmpty())
        return false;
    if (saveFile(target))
        return true;
    const QString reason = isProgramFile(target) ? tr("Die Datei gehört dem Programm selbst.")
                                                 : saveFailureReason(target);
    ModalQuestions::ask(this, QMessageBox::Warning, tr("Nicht gespeichert!"),
                        tr("Das Projekt konnte nicht gespeichert werden:\n%1\n%2")
                            .arg(QDir::toNativeSeparators(target), reason),
                        QMessageBox::Ok);
    return false;
}

// The store knows of every change at once; the window's own flag follows
// only at its tick, and a change made just before must be asked about too.
QMessageBox::StandardButton FMManager::notifySave(const QString& title)
{
    dirtyTimer();
    if (!dirty)
        return QMessageBox::Abort;
    const QMessageBox::StandardButton answer = ModalQuestions::ask(
        this, QMessageBox::Warning, title.isEmpty() ? tr("Nicht gespeichert!") : title,
        tr("Sollen die Änderungen gespeichert oder verworfen werden?"),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    if (answer != QMessageBox::Save)
        return answer;
    // Going on after a save that did not happen would lose the changes.
    return saveFileAs() ? QMessageBox::Save : QMessageBox::Cancel;
}

// Every change goes to the working copy a moment after it is made; when the
// disk refuses it the operator must know, since closing would lose it.
void FMManager::onWorkingCopyWritten(bool complete)
{
    if (complete) {
        if (workingCopyFailed)
            statusBar()->clearMessage();
        workingCopyFailed = false;
        return;
    }
    // A full disk is tried again and again; it is told once.
    if (workingCopyFailed)
        return;
    workingCopyFailed = true;
    const QString reason = store ? store->writeError() : QString();
    qWarning("man: working copy [%s] not written: %s", qPrintable(defaultProject()),
             qPrintable(reason));
    showUnwritten(defaultProject());
}

void FMManager::showUnwritten(const QString& file)
{
    statusBar()->showMessage(
        tr("Änderungen konnten nicht gespeichert werden (Datenträger voll?): %1").arg(file));
}

// --- recent list and title

QStringList FMManager::storedRecent() const
{
    QStringList stored;
    for (int slot = 1; slot <= ProjectFiles::kRecentSlots; ++slot)
        stored.append(ini->value(kRecentKey.arg(slot)).toString());
    return stored;
}

void FMManager::addRecent(const QString& path)
{
    const QString entry = ProjectFiles::recentNormalForm(path);
    if (entry == ProjectFiles::recentNormalForm(ini->value(kRecentKey.arg(1)).toString())) {
        resetTitle();
        return;
    }
    const QStringList list = ProjectFiles::updatedRecent(storedRecent(), path);
    for (int slot = 1; slot <= ProjectFiles::kRecentSlots; ++slot) {
        if (list.size() >= slot)
            ini->setValue(kRecentKey.arg(slot), list[slot - 1]);
        else
            ini->remove(kRecentKey.arg(slot));
    }
    resetTitle();
    recentChanged = true;
    QTimer::singleShot(kRecentMenuDelayMs, this, &FMManager::loadRecent);
}

// An entry whose file is missing is left out together with its shortcut, so
// every entry keeps the Ctrl+Shift number of its slot.
void FMManager::loadRecent()
{
    if (!recentChanged)
        return;
    recentChanged = false;
    QMenu* menu = ui->menuLast;
    const QSignalBlocker blocker(menu);
    menu->setUpdatesEnabled(false);
    menu->clear();
    for (int slot = 1; slot <= ProjectFiles::kRecentSlots; ++slot) {
        const QString path = ini->value(kRecentKey.arg(slot)).toString().trimmed();
        if (path.isEmpty() || !QFileInfo::exists(path))
            continue;
        QAction* entry = menu->addAction(path);
        entry->setShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+%1").arg(slot)));
    }
    menu->setEnabled(!menu->actions().isEmpty());
    menu->setUpdatesEnabled(true);
}

QString FMManager::lastFile() const
{
    const QString last = ini->value(kRecentKey.arg(1)).toString().trimmed();
    return last.isEmpty() ? QDir::homePath() : last;
}

QString FMManager::lastDirectory() const
{
    for (const QString& stored : storedRecent()) {
        const QString path = ProjectFiles::recentNormalForm(stored);
        if (!path.isEmpty() && QFileInfo(path).isFile())
            return path;
    }
    return QDir::homePath();
}

void FMManager::resetTitle()
{
    setWindowTitle(versionText() + QStringLiteral(" - ") + lastFile() +
                   (dirty ? QStringLiteral(" *") : QString()));
}

void FMManager::dirtyTimer()
{
    if (!store || dirty || !store->isDirty())
        return;
    dirty = true;
    resetTitle();
}

// No question at close: the working copy holds every change, and the dirty
// flag carries over to the next start.
void FMManager::closeEvent(QCloseEvent* event)
{
    qDebug("man: close");
    dirtyTimer();
    if (store)
        store->writeNow();
    ini->setValue(QStringLiteral("Last/dirty"), dirty ? 1 : 0);
    ini->setValue(QStringLiteral("Main/geometry"), saveGeometry());
    ini->setValue(QStringLiteral("Main/winstate"), saveState(kLayoutStateVersion));
    deleteLater();
    event->accept();
}
