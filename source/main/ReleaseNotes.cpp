#include "main/ReleaseNotes.h"

#include "main/ProgramFolder.h"

#include "ui_ReleaseNotesUI.h"

#include <QDebug>
#include <QFontMetrics>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSettings>

#include <algorithm>

namespace {

// The widest line the notes have held: the view opens wide enough for it.
constexpr char kWidestLine[] =
    "* rework RDS & PCM data playout (limit to 100Mbit/s for low buffer switches)W";
constexpr int kShownLines = 18;

const QString kTextKey = QStringLiteral("text");

} // namespace

ReleaseNotes::ReleaseNotes(QWidget* parent, const QString& lang)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      ui(new Ui::ReleaseNotesUI),
      file(std::make_unique<QSettings>(ProgramFolder::filePath(fileName(lang)),
                                       QSettings::IniFormat))
{
    ui->setupUi(this);
    versions = releases(file->childGroups());
    // Without a release there is nowhere to page to.
    ui->Bnext->setEnabled(false);
    ui->Blast->setEnabled(false);
    showVersion(versions.size() - 1);
    connect(ui->Bnext, &QPushButton::clicked, this, &ReleaseNotes::next);
    connect(ui->Blast, &QPushButton::clicked, this, &ReleaseNotes::prev);
}

ReleaseNotes::~ReleaseNotes()
{
    delete ui;
    qDebug("~rno");
}

QString ReleaseNotes::fileName(const QString& lang)
{
    return QStringLiteral("Quorvin_%1.txt").arg(lang);
}

QStringList ReleaseNotes::releases(const QStringList& groups)
{
    static const QRegularExpression decimal(QStringLiteral("^[0-9]+$"));
    QList<std::pair<qulonglong, QString>> numbered;
    for (const QString& group : groups) {
        bool ok = false;
        const qulonglong number = group.toULongLong(&ok);
        if (ok && decimal.match(group).hasMatch())
            numbered.append({number, group});
    }
    std::stable_sort(numbered.begin(), numbered.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    QStringList sorted;
    for (const auto& entry : numbered)
        sorted.append(entry.second);
    return sorted;
}

QString ReleaseNotes::label(const QString& group)
{
    const qulonglong number = group.toULongLong();
    return QStringLiteral("%1.%2").arg(number / 100).arg(number % 100, 2, 10, QLatin1Char('0'));
}

void ReleaseNotes::next()
{
    if (shown < versions.size() - 1)
        showVersion(shown + 1);
}

void ReleaseNotes::prev()
{
    if (shown >= 1)
        showVersion(shown - 1);
}

void ReleaseNotes::showVersion(int index)
{
    if (index < 0 || index >= versions.size())
        return;
    shown = index;
    const QString group = versions.at(index);
    ui->text->setPlainText(tr("Änderungen in Version ") + label(group) + QStringLiteral(":\n\n") +
                           notes(group));
    ui->Bnext->setEnabled(index < versions.size() - 1);
    ui->Blast->setEnabled(index != 0);
}

// Notes with a comma that were written without quotes read back as a list:
// they are still one text.
QString ReleaseNotes::notes(const QString& group) const
{
    const QVariant value = file->value(group + QLatin1Char('/') + kTextKey);
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", ")).trimmed();
    return value.toString().trimmed();
}

void ReleaseNotes::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    if (QWidget* owner = parentWidget())
        move(owner->mapToGlobal(owner->rect().center()) - rect().center());
}

void ReleaseNotes::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    const QFontMetrics metrics(ui->text->font());
    const QMargins margins = ui->text->contentsMargins();
    ui->text->setMinimumSize(metrics.horizontalAdvance(QLatin1String(kWidestLine)) +
                                 ui->text->verticalScrollBar()->sizeHint().width() +
                                 margins.left() + margins.right(),
                             kShownLines * metrics.lineSpacing());
}
