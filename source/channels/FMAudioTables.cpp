// Drawing the audio page's three tables from the store. Every change the
// page makes here happens with the signals of the table, box or field
// blocked, so drawing never writes back into the store.
#include "channels/FMAudio.h"

#include "ui_FMAudio.h"
#include "ui_RampeUI.h"
#include "ui_SinusUI.h"

#include "channels/HuxSpinBox.h"
#include "settings/FMSettings.h"

#include <QComboBox>
#include <QHeaderView>
#include <QSpinBox>

namespace {

const QLatin1String kPlaylistPrefix("playlist.");
constexpr int kTypeBoxContents = 6;
constexpr int kTableWidthSlack = 9;
// Decoded files on even rows: the decoded colour darker by this factor
// (QColor::darker, in percent).
constexpr int kDarkDecoded = 136;
const char* const kFormFields[] = {"f1", "v1", "f2", "v2", "secs"};

bool isRampForm(const QWidget* form)
{
    return form->findChild<QSpinBox*>(QStringLiteral("secs")) != nullptr;
}

void setField(QWidget* form, const char* name, int value)
{
    auto* field = form->findChild<QSpinBox*>(QLatin1String(name));
    if (!field)
        return;
    const QSignalBlocker blocker(field);
    field->setValue(value);
}

// A column's width, or more where a cell widget (a form, a type box) needs it.
int neededWidth(const QTableWidget* table, int column)
{
    int width = table->columnWidth(column);
    for (int row = 0; row < table->rowCount(); ++row) {
        if (const QWidget* cell = table->cellWidget(row, column))
            width = qMax(width, cell->sizeHint().width());
    }
    return width;
}

QString fileName(const QString& file)
{
    return file.section(QLatin1Char('/'), -1);
}

QString formatText(const SongInfo& song)
{
    const QString rate = QString::number(song.sampleRate * 0.001);
    if (song.channels == 1)
        return QStringLiteral("%1 kHz Mono\n").arg(rate);
    if (song.channels == 2)
        return QStringLiteral("%1 kHz Stereo\n").arg(rate);
    return QString();
}

QString songText(const SongInfo& song)
{
    QString text = formatText(song);
    for (auto tag = song.tags.cbegin(); tag != song.tags.cend(); ++tag)
        text += tag.key() + QStringLiteral(": %1\n").arg(tag.value());
    return text;
}

} // namespace

bool FMAudio::isPlaylistReference(const QString& file)
{
    return file.startsWith(kPlaylistPrefix, Qt::CaseInsensitive);
}

int FMAudio::referencedPlaylist(const QString& file)
{
    return isPlaylistReference(file) ? file.mid(kPlaylistPrefix.size()).toInt() : 0;
}

int FMAudio::sourceId(int row) const
{
    const QTableWidgetItem* name = ui->sources->item(row, kNameColumn);
    return name ? name->data(Qt::UserRole).toInt() : 0;
}

// --- playlists

void FMAudio::fillPlaylists(int preferred)
{
    QTableWidget* table = ui->playlists;
    const QSignalBlocker blocker(table);
    table->setRowCount(0);
    playlistId = 0;
    const QMap<int, Playlist> lists = store->playlists();
    for (auto it = lists.cbegin(); it != lists.cend(); ++it) {
        const int id = it.key();
        auto* cell = new QTableWidgetItem(it->name.isEmpty() ? QStringLiteral("Playlist.%1").arg(id)
                                                             : it->name);
        cell->setData(Qt::UserRole, id);
        cell->setToolTip(tr("Name der %1. Playliste").arg(id));
        const int row = table->rowCount();
        table->insertRow(row);
        table->setItem(row, 0, cell);
        if (row == 0 || (preferred != 0 && id == preferred)) {
            playlistId = id;
            table->setCurrentCell(row, 0);
            fillFiles(it->items);
        }
    }
    if (table->rowCount() == 0) {
        // Files added now go to playlist 1, which the store creates.
        playlistId = 1;
        fillFiles({});
    }
}

// --- sources

void FMAudio::fillSources()
{
    QTableWidget* table = ui->sources;
    const QMap<int, AudioSource> records = store->audioSources();
    int row = 0;
    for (auto it = records.cbegin(); it != records.cend(); ++it) {
        if (!it->used)
            continue;
        if (table->rowCount() <= row)
            table->insertRow(row);
        buildSourceRow(*it, it.key(), row);
        ++row;
    }
    rebuildTabOrder();
    table->setRowCount(row);
    table->resizeColumnsToContents();
    // The last column stretches and so has the width it was given, not what
    // its forms need.
    int width = kTableWidthSlack;
    for (int column = kNameColumn; column <= kParameterColumn; ++column)
        width += neededWidth(table, column);
    table->setMinimumWidth(width);
}

void FMAudio::buildSourceRow(const AudioSource& source, int id, int row)
{
    buildTypeBox(source.type, row);
    QTableWidget* table = ui->sources;
    const QSignalBlocker blocker(table);
    QTableWidgetItem* name = table->item(row, kNameColumn);
    if (!name) {
        name = new QTableWidgetItem;
        table->setItem(row, kNameColumn, name);
    }
    name->setText(source.name);
    name->setData(Qt::UserRole, id);
    name->setToolTip(tr("Name der %1. Audio Quelle").arg(id));
    if (source.type == AudioSource::File)
        buildFileCell(source.file, row);
    else
        buildTestForm(source, row);
}

void FMAudio::buildTypeBox(int type, int row)
{
    const QStringList names = FMSettings::audioTypeNames();
    auto* box = qobject_cast<QComboBox*>(ui->sources->cellWidget(row, kTypeColumn));
    if (!box) {
        box = new QComboBox(this);
        box->setMinimumContentsLength(kTypeBoxContents);
        box->addItems(names);
        ui->sources->setCellWidget(row, kTypeColumn, box);
        connect(box, &QComboBox::currentIndexChanged, this, &FMAudio::typeChanged);
    }
    const QSignalBlocker blocker(box);
    if (box->count() != names.size()) {
        box->clear();
        box->addItems(names);
    }
    box->setCurrentIndex(type);
}

void FMAudio::buildFileCell(const QString& file, int row)
{
    QTableWidget* table = ui->sources;
    QTableWidgetItem* cell = table->item(row, kParameterColumn);
    if (!cell) {
        table->removeCellWidget(row, kParameterColumn);
        cell = new QTableWidgetItem;
        table->setItem(row, kParameterColumn, cell);
        testForms.remove(row);
    }
    showFile(cell, file);
}

void FMAudio::showFile(QTableWidgetItem* cell, const QString& file) const
{
    cell->setData(Qt::UserRole, file);
    const QString name = playlistName(file);
    if (name.isEmpty()) {
        cell->setText(fileName(file));
        cell->setToolTip(file);
        return;
    }
    const QString shown = QStringLiteral("%1 (%2)").arg(fileName(file), name);
    cell->setText(shown);
    cell->setToolTip(shown);
}

QString FMAudio::playlistName(const QString& file) const
{
    if (!isPlaylistReference(file))
        return QString();
    return store->value(file + QStringLiteral(".name"), QString()).toString();
}

void FMAudio::buildTestForm(const AudioSource& source, int row)
{
    QTableWidget* table = ui->sources;
    delete table->takeItem(row, kParameterColumn);
    const bool ramp = source.type != AudioSource::Sine;
    QWidget* form = testForms.value(row);
    if (!form || form != table->cellWidget(row, kParameterColumn) || isRampForm(form) != ramp) {
        form = createTestForm(ramp);
        testForms.insert(row, form);
    }
    setField(form, "f1", source.frq1);
    setField(form, "f2", source.frq2);
    setField(form, "v1", source.vol1);
    setField(form, "v2", source.vol2);
    setField(form, "secs", source.time);
    if (table->cellWidget(row, kParameterColumn) == form)
        return;
    QPalette palette = form->palette();
    palette.setBrush(QPalette::Base, table->item(row, kNameColumn)->background());
    form->setPalette(palette);
    table->setCellWidget(row, kParameterColumn, form);
}

QWidget* FMAudio::createTestForm(bool ramp)
{
    auto* form = new QWidget;
    if (ramp)
        Ui::RampeUI().setupUi(form);
    else
        Ui::SinusUI().setupUi(form);
    for (auto* field : form->findChildren<HuxSpinBox*>()) {
        connect(field, &QSpinBox::valueChanged, this, &FMAudio::slotChanged);
        connect(field, &HuxSpinBox::focusIn, this, &FMAudio::focusOut);
    }
    tabOrderStale = true;
    return form;
}

void FMAudio::rebuildTabOrder()
{
    if (!tabOrderStale)
        return;
    tabOrderStale = false;
    QTableWidget* table = ui->sources;
    QWidget* previous = table;
    auto chain = [&previous](QWidget* next) {
        if (!next)
            return;
        QWidget::setTabOrder(previous, next);
        previous = next;
    };
    for (int row = 0; row < table->rowCount(); ++row) {
        chain(table->cellWidget(row, kTypeColumn));
        const QWidget* form = table->cellWidget(row, kParameterColumn);
        if (!form)
            continue;
        for (const char* name : kFormFields)
            chain(form->findChild<QSpinBox*>(QLatin1String(name)));
    }
}

// --- files

void FMAudio::fillFiles(const QStringList& paths)
{
    QTableWidget* table = ui->files;
    table->setRowCount(0);
    table->setRowCount(int(paths.size()));
    for (int row = 0; row < int(paths.size()); ++row)
        table->setItem(row, 0, new QTableWidgetItem(paths.at(row)));
    showSongInfo();
}

void FMAudio::showSongInfo()
{
    const QHash<QString, SongInfo> songs = store->songInfos();
    const QColor base = ui->files->palette().color(QPalette::Base);
    const QColor broken = QColor::fromHsl(0, 220, base.lightness(), base.alpha());
    const QColor decoded = QColor::fromHsl(120, 180, base.lightness(), base.alpha());
    const QColor darkDecoded = decoded.darker(kDarkDecoded);
    for (int row = 0; row < ui->files->rowCount(); ++row) {
        QTableWidgetItem* file = ui->files->item(row, 0);
        if (!file)
            continue;
        const auto song = songs.constFind(file->text());
        if (song == songs.constEnd())
            continue;
        if (song->kind >= 1 && song->kind <= 5) {
            file->setBackground(row % 2 == 0 ? darkDecoded : decoded);
            const QString text = songText(*song);
            if (!text.isEmpty())
                file->setToolTip(text.trimmed());
        } else if (song->kind == 0 || song->kind == -1) {
            file->setBackground(broken);
            file->setToolTip(tr("dieser Song kann nicht dekodiert werden!"));
        }
    }
}
