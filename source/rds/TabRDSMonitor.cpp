// The RDS page's side of the monitor: the log of the shown channel's groups,
// the decoder panel, the RadioText views, the rate titles and saving the log.
#include "rds/TabRDS.h"

#include "board/AfCodeList.h"
#include "gui/ModalQuestions.h"
#include "rds/RDSDecoder.h"
#include "settings/FMSettings.h"
#include "settings/RDSSource.h"
#include "settings/RdsLogRecord.h"
#include "ui_TabRDS0.h"
#include "ui_TabRDSRT.h"
#include "ui_TabRDSUI.h"

#include <QFile>
#include <QTextCodec>

#include <cmath>

namespace {

// Group codes (B >> 11): type number * 2 plus the version bit.
constexpr int kCode0A = 0, kCode0B = 1, kCode1A = 2, kCode2A = 4, kCode2B = 5, kCode3A = 6;
constexpr int kCode4A = 8, kCode8A = 16, kCode10A = 20, kCode14A = 28, kCode15A = 30;
constexpr int kCode15B = 31;

// Error flags of RdsChannelState, one bit per block.
constexpr quint8 kBadA = 0x1, kBadB = 0x2, kBadC = 0x4, kBadD = 0x8;

// Application identifiers (RDS forum register).
constexpr quint16 kAidRtPlus = 0x4BD7, kAidErt = 0x6552;

// AF codes of EN 50067 clause 3.2.1.6: 224-249 count the list, 250 announces
// an LF/MF frequency in the second code.
constexpr quint8 kCountFirst = AfCodeList::kCountBase, kCountLast = kCountFirst + 25;
constexpr quint8 kLfMfFollows = AfCodeList::kLfMfFlag >> 8;
// FM frequencies end at 107.9 MHz, LF starts at 153 kHz (in 100 Hz).
constexpr int kLowestLfMf = 1500;
// An AF not seen again for this long has left the list.
constexpr int kAfLifetimeSeconds = 20;

constexpr int kRtCharsA = 4, kRtCharsB = 2;
constexpr int kErtChars = 4;

// Groups per minute at 1187.5 bit/s and 104 bits per group.
constexpr double kGroupsPerMinute = 685.0961538461538;

// Decoding modes of decodeText.
constexpr quint8 kModeUtf8 = 1, kModeChosen = 4;
// What the text view shows (view mode bits).
constexpr quint8 kViewRt = 1, kViewErt = 2, kViewRtPlus = 4, kViewHex = 8;

QString hex4(quint16 word)
{
    return QStringLiteral("%1").arg(word, 4, 16, QLatin1Char('0')).toUpper();
}

QChar bit(quint16 word, int number)
{
    return (word >> number) & 1 ? u'1' : u'0';
}

QString colouredSpan(int red, int green, int blue, const QString& text)
{
    return QStringLiteral("<span style=\"background-color: rgb(%1,%2,%3);\">%4</span> ")
        .arg(red)
        .arg(green)
        .arg(blue)
        .arg(text);
}

void setIfChanged(QLabel* label, const QString& text)
{
    if (label->text() != text)
        label->setText(text);
}

void putWord(QByteArray& bytes, int at, quint16 word)
{
    bytes[at] = char(word >> 8);
    bytes[at + 1] = char(word & 0xFF);
}

// A title without its rate suffix: everything before " (".
QString withoutRate(const QString& title)
{
    const auto open = title.indexOf(QLatin1Char('('));
    return open >= 1 ? title.left(open - 1) : title;
}

// The group code that a combo of ODA groups ("11A") names.
int comboCode(const QComboBox* combo)
{
    QString digits = combo->currentText();
    digits.remove(QLatin1Char('A'));
    return 2 * digits.toInt();
}

} // namespace

void TabRDS::setMonitorClock(std::function<qint64()> secondsSinceEpoch)
{
    monitor.now = std::move(secondsSinceEpoch);
}

void TabRDS::appendRdsLog(int channel, const QVariant& value)
{
    // The board engine writes its comments as texts; a group record is
    // always bytes, also when its PI begins with the byte of '#'.
    if (value.typeId() == QMetaType::QString) {
        const QString comment = value.toString();
        if (comment.startsWith(QLatin1Char('#')) && ui->stat->currentIndex() == channel)
            ui->pLog->appendPlainText(comment);
        return;
    }
    const QByteArray record = value.toByteArray();
    if (!decoder->addGroup(channel, record) || ui->stat->currentIndex() != channel)
        return;
    const RdsChannelState state = decoder->group(channel);
    showDecoded(state);
    ui->pLog->appendPlainText(logLine(state, record));
}

QString TabRDS::logLine(const RdsChannelState& state, const QByteArray& record)
{
    const auto& blocks = state.group.blocks;
    const quint16 b = blocks[RdsGroup::B];
    QString line;
    if (ui->sTime->isChecked())
        line = state.time.toString(QStringLiteral("hh:mm:ss.zzz "));
    if (ui->sRaw->isChecked())
        line += QString::fromLatin1(record.left(RdsLogRecord::kGroupBytes).toHex());
    else
        line += QStringLiteral("%1 %2 %3 %4")
                    .arg(hex4(blocks[RdsGroup::A]), hex4(b), hex4(blocks[RdsGroup::C]),
                         hex4(blocks[RdsGroup::D]));
    if (ui->sGroup->isChecked())
        line += QStringLiteral(" %1%2").arg(b >> 12, 2).arg(QChar((b & 0x0800) ? u'B' : u'A'));
    if (ui->sPTY->isChecked())
        line += QStringLiteral(" %1").arg((b >> 5) & 0x1F, 2);
    if (ui->sTP->isChecked()) {
        // TA travels with TP only in groups 0 and 15.
        const int type = b >> 12;
        line += u' ';
        line += bit(b, 10);
        line += (type == 0 || type == 15) ? bit(b, 4) : QChar(u'_');
    }
    if (ui->sDI->isChecked())
        decoder->decodeGroup(state, line);
    if (ui->sCRC->isChecked() && state.errors != 0)
        line += QStringLiteral(" *%1").arg(state.errors);
    return line;
}

void TabRDS::showDecoded(const RdsChannelState& state)
{
    const quint8 bad = state.errorFlags;
    const quint16 a = state.group.blocks[RdsGroup::A];
    const quint16 b = state.group.blocks[RdsGroup::B];
    const quint16 c = state.group.blocks[RdsGroup::C];
    const quint16 d = state.group.blocks[RdsGroup::D];

    // Version-B groups repeat the PI in block C.
    if (!(bad & kBadA))
        setIfChanged(ui->lPI, QString::number(a, 16).toUpper());
    else if (!(bad & (kBadB | kBadC)) && (b & 0x0800))
        setIfChanged(ui->lPI, QString::number(c, 16).toUpper());
    if (bad & kBadB)
        return;

    setIfChanged(ui->lPTY, ui0->PTY->itemText((b >> 5) & 0x1F));
    if (ui->cbTP->isChecked() != bool(b & 0x0400))
        ui->cbTP->setChecked(b & 0x0400);

    const int code = b >> 11;
    if (code == kCode0A || code == kCode0B || code == kCode15B) {
        if (ui->cbTA->isChecked() != bool(b & 0x0010))
            ui->cbTA->setChecked(b & 0x0010);
        const int segment = b & 3;
        monitor.diBits = quint8((monitor.diBits & ~(1 << segment)) | (((b >> 2) & 1) << segment));
        const quint8 di = monitor.diBits;
        ui->lDB->setText(QString(bit(b, 3)) + bit(di, 3) + bit(di, 2) + bit(di, 1) + bit(di, 0));
        QString tip = QStringLiteral("\n%1____: ").arg(bit(b, 3)) +
                      ((b & 0x0008) ? QStringLiteral("Music") : QStringLiteral("Speech"));
        tip += QStringLiteral("\n_%1___: ").arg(bit(di, 3)) +
               ((di & 8) ? QStringLiteral("Stereo") : QStringLiteral("Mono"));
        if (di & 4)
            tip += QStringLiteral("\n__1__: ") + tr("Kunstkopf");
        if (di & 2)
            tip += QStringLiteral("\n___1_: ") + tr("Komprimiert");
        tip += QStringLiteral("\n____%1: ").arg(bit(di, 0)) +
               ((di & 1) ? QStringLiteral("dynamic PTY") : QStringLiteral("static PTY"));
        ui->lDB->setToolTip(tip);
    }

    switch (code) {
    case kCode0A:
    case kCode0B:
        if (code == kCode0A && !(bad & kBadC))
            showAFs(c);
        if (!(bad & kBadD)) {
            const int n = b & 3;
            putWord(monitor.ps, 2 * n, d);
            ui->lPS->setText(
                decodeText(monitor.ps, 2 * n, 2 * n + 2, RdsViewState::kPsBytes, kModeChosen));
        }
        break;
    case kCode2A:
    case kCode2B:
        showRadioText(b, c, d, bad);
        break;
    case kCode10A: {
        const int n = b & 1;
        const quint8 flag = (b >> 4) & 1;
        if (flag != monitor.ptynFlag) {
            monitor.ptynFlag = flag;
            monitor.ptyn.fill(' ');
        }
        if (!(bad & kBadC))
            putWord(monitor.ptyn, 4 * n, c);
        if (!(bad & kBadD))
            putWord(monitor.ptyn, 4 * n + 2, d);
        ui->lPTYN->setText(
            decodeText(monitor.ptyn, 4 * n, 4 * n + 4, RdsViewState::kPtynBytes, kModeChosen));
        break;
    }
    case kCode15A:
        if (!(bad & (kBadC | kBadD))) {
            const int n = b & 7;
            putWord(monitor.longPs, 4 * n, c);
            putWord(monitor.longPs, 4 * n + 2, d);
            // The long PS is UTF-8 unless another coding is chosen.
            const int chosen = ui->cbDecode->currentIndex();
            ui->lLPS->setText(decodeText(monitor.longPs, 4 * n, 4 * n + 4,
                                         RdsViewState::kLongPsBytes,
                                         chosen <= 0 ? kModeUtf8 : quint8(chosen)));
        }
        break;
    case kCode15B:
        break;
    default:
        showOda(state);
        break;
    }
}

void TabRDS::showAFs(quint16 c)
{
    const quint8 first = quint8(c >> 8);
    const quint8 second = quint8(c & 0xFF);
    const bool lfMf = first == kLfMfFollows;
    int f1 = lfMf ? 0 : AfCodeList::afFrequency(first, false);
    int f2 = AfCodeList::afFrequency(second, lfMf);
    const int now = monitor.afClock();
    bool changed = false;

    if (first >= kCountFirst && first <= kCountLast) {
        monitor.afHead = f2; // the tuned frequency heads the list that follows
    } else if (monitor.afHead != 0) {
        // Method B: a pair in descending order is a regional variant.
        if (f1 != 0 && f2 != 0 && f2 < f1) {
            f1 = -f1;
            f2 = -f2;
        }
        QMap<int, int>& list = monitor.afLists[monitor.afHead];
        for (const int frequency : {f1, f2}) {
            if (frequency == 0 || std::abs(frequency) == monitor.afHead)
                continue;
            changed |= !list.contains(frequency);
            list.insert(frequency, now);
        }
    }

    for (auto list = monitor.afLists.begin(); list != monitor.afLists.end(); ++list) {
        for (auto entry = list->begin(); entry != list->end();) {
            const int age = now - entry.value();
            if (age <= kAfLifetimeSeconds) {
                ++entry;
                continue;
            }
            qDebug("dec: remove old AF %d %d", entry.key(), age);
            entry = list->erase(entry);
            changed = true;
        }
    }
    if (!changed)
        return;

    QStringList lists;
    for (auto list = monitor.afLists.cbegin(); list != monitor.afLists.cend(); ++list) {
        QString text = QStringLiteral("%1: ").arg(list.key() * 0.1, 0, 'f', 1);
        for (auto entry = list->cbegin(); entry != list->cend(); ++entry) {
            const int frequency = entry.key();
            if (frequency < 0)
                text += colouredSpan(0, 0, 255, RDSDecoder::frequencyText(-frequency));
            else if (frequency >= kLowestLfMf)
                text += colouredSpan(0, 255, 0, RDSDecoder::frequencyText(frequency));
            else
                text += RDSDecoder::frequencyText(frequency) + u' ';
        }
        lists.append(text);
    }
    monitor.afText = lists.join(QStringLiteral("<br/>"));
    ui->lAF->setText(monitor.afText);
}

void TabRDS::showRadioText(quint16 b, quint16 c, quint16 d, quint8 bad)
{
    const bool versionA = !(b & 0x0800);
    const int n = b & 0x0F;
    const int chars = versionA ? kRtCharsA : kRtCharsB;
    ui->BRT->setText(QString::number(n));
    // Segment 0 closes a cycle: the text is as long as that cycle went.
    if (n == 0)
        monitor.rtLength = monitor.rtSegments * chars;
    monitor.rtLength = std::max(monitor.rtLength, (n + 1) * chars);
    monitor.rtSegments = n + 1;
    const quint8 flag = (b >> 4) & 1;
    if (flag != monitor.rtFlag) {
        monitor.rtFlag = flag;
        monitor.rt.fill(' ');
    }
    if (versionA) {
        if (!(bad & kBadC))
            putWord(monitor.rt, 4 * n, c);
        if (!(bad & kBadD))
            putWord(monitor.rt, 4 * n + 2, d);
    } else if (!(bad & kBadD)) {
        putWord(monitor.rt, 2 * n, d);
    }
    if (viewMode & kViewRt)
        ui->tRT->setHtml(
            decodeText(monitor.rt, chars * n, chars * (n + 1), monitor.rtLength, kModeChosen));
}

void TabRDS::showOda(const RdsChannelState& state)
{
    const quint8 bad = state.errorFlags;
    const quint16 b = state.group.blocks[RdsGroup::B];
    const quint16 c = state.group.blocks[RdsGroup::C];
    const quint16 d = state.group.blocks[RdsGroup::D];
    const int code = b >> 11;
    auto carries = [&](quint16 aid) {
        return state.odaTypes.contains(aid) && state.odaTypes.value(aid) == code;
    };

    if (carries(kAidErt)) {
        const int n = b & 0x1F;
        if (n == 0)
            monitor.ertLength = monitor.ertSegments * kErtChars;
        monitor.ertLength = std::max(monitor.ertLength, (n + 1) * kErtChars);
        monitor.ertSegments = n + 1;
        ui->BeRT->setText(QString::number(n));
        if (!(bad & kBadC))
            putWord(monitor.ert, 4 * n, c);
        if (!(bad & kBadD))
            putWord(monitor.ert, 4 * n + 2, d);
        monitor.ertMessage = state.odaMessages.value(quint16(code));
        if (viewMode & kViewErt)
            ui->tRT->setHtml(decodeText(monitor.ert, 4 * n, 4 * n + 4, monitor.ertLength,
                                        quint8(monitor.ertMessage & 1)));
        return;
    }
    if (carries(kAidRtPlus)) {
        monitor.rtPlusMessage = state.odaMessages.value(quint16(code));
        const quint8 type1 = quint8(((b & 7) << 3) | (c >> 13));
        const quint16 tag1 = quint16((((c >> 7) & 0x3F) << 8) | ((c >> 1) & 0x3F));
        const quint8 type2 = quint8(((c & 1) << 5) | (d >> 11));
        const quint16 tag2 = quint16((((d >> 5) & 0x3F) << 8) | (d & 0x1F));
        if (type1 != 0)
            monitor.rtPlusTags.insert(type1, tag1);
        if (type2 != 0)
            monitor.rtPlusTags.insert(type2, tag2);
        if (!monitor.rtPlusTags.isEmpty())
            ui->BRTp->setText(QString::number(monitor.rtPlusTags.size()));
        if (viewMode & kViewRtPlus)
            ui->tRT->setHtml(textHtml());
    }
}

QString TabRDS::textHtml()
{
    QString base;
    // RT+ message bit 13: the tags point into the eRT, not the RadioText.
    if (monitor.rtPlusMessage & 0x2000) {
        base = decodeText(monitor.ert, -1, -1, monitor.ertLength, quint8(monitor.ertMessage & 1));
    } else {
        base = QString::fromUtf8(monitor.rt);
        // Received bytes may hold anything: no '<' of theirs may open a tag.
        base.replace(QLatin1Char('<'), QStringLiteral("&lt;"));
    }
    base.replace(QStringLiteral("<br>"), QStringLiteral(" "));
    base.replace(QStringLiteral("&nbsp;"), QStringLiteral(" "));
    const QStringList& names = rtplusClassNames();
    QString html;
    for (auto tag = monitor.rtPlusTags.cbegin(); tag != monitor.rtPlusTags.cend(); ++tag) {
        if (tag.key() < names.size())
            html += names.at(tag.key()) + QStringLiteral(": ");
        html += base.mid(tag.value() >> 8, (tag.value() & 0xFF) + 1) + QStringLiteral("<br>");
    }
    return html;
}

void TabRDS::updateStatistics()
{
    const RdsChannelState state = decoder->group(ui->stat->currentIndex());
    const double total = state.counts.value(RdsChannelState::kTotal);
    pairShares.clear();
    for (auto it = state.counts.cbegin(); it != state.counts.cend(); ++it)
        rateTitle(it.key(), it.value() / (total + 1));
    if (!state.counts.contains(kCode15B))
        ui0->gBasic->setTitle(withoutRate(ui0->gBasic->title()));
}

void TabRDS::rateTitle(int code, double share)
{
    const QMap<int, QGroupBox*> boxes{
        {kCode0A, ui0->group00},  {kCode0B, ui0->group00},  {kCode1A, ui0->group01},
        {kCode2A, uiRT->gRT},     {kCode2B, uiRT->gRT},     {kCode3A, ui0->group03},
        {kCode4A, ui0->group04},  {kCode8A, ui0->group08},  {kCode10A, ui0->group10},
        {kCode14A, ui0->group14}, {kCode15A, ui0->group15}, {kCode15B, ui0->gBasic},
    };
    QGroupBox* box = boxes.value(code);
    if (!box && code == comboCode(uiRT->pRTgroup))
        box = uiRT->gRTplus;
    else if (!box && code == comboCode(uiRT->eRTgroup))
        box = uiRT->eRT;
    if (!box)
        return;

    auto perMinute = [](double part) { return std::lround(part * kGroupsPerMinute); };
    auto percent = [](double part) { return QString::number(part * 100.0, 'f', 1); };
    QString title = withoutRate(box->title());
    QString suffix;
    switch (code) {
    case kCode0A:
    case kCode0B:
    case kCode2A:
    case kCode2B: {
        pairShares.insert(code, share);
        const double shareA = pairShares.value(code & ~1);
        const double shareB = pairShares.value(code | 1);
        if (shareA != 0 && shareB != 0)
            suffix = QStringLiteral(" (A %1/min + B %2/min = ~%3%)")
                         .arg(perMinute(shareA))
                         .arg(perMinute(shareB))
                         .arg(percent(shareA + shareB));
        else
            suffix = QStringLiteral(" (%1/min ~%2%)").arg(perMinute(share)).arg(percent(share));
        break;
    }
    case kCode1A:
        title.replace(QStringLiteral("Extended Country Code"), QStringLiteral("ECC"));
        suffix = QStringLiteral(" (%1/min)").arg(perMinute(share));
        break;
    case kCode4A:
        suffix = QStringLiteral(" (%1/min)").arg(perMinute(share));
        break;
    default:
        suffix = QStringLiteral(" (%1/min ~%2%)").arg(perMinute(share)).arg(percent(share));
        break;
    }
    box->setTitle(title + suffix);
}

void TabRDS::resetTitles()
{
    for (QGroupBox* box :
         {ui0->group00, ui0->group01, uiRT->gRTplus, uiRT->gRT, uiRT->eRT, ui0->group03,
          ui0->group04, ui0->group08, ui0->group10, ui0->group14, ui0->group15, ui0->gBasic})
        box->setTitle(withoutRate(box->title()));
}

void TabRDS::restartStat()
{
    const int channel = ui->stat->currentIndex();
    ui->pLog->clear();
    resetTitles();
    setLog(channel);
    decoder->reset(channel);
}

void TabRDS::setLog(int channel)
{
    resetTitles();
    if (channel > 0)
        ui->pLog->appendPlainText(tr("# Kanal %1").arg(channel));
    ui->Brestart->setEnabled(channel > 0);
    for (QLabel* label : {ui->lPI, ui->lDB, ui->lPS, ui->lLPS, ui->lAF, ui->lPTY, ui->lPTYN})
        label->clear();
    ui->cbTP->setChecked(false);
    ui->cbTA->setChecked(false);
    ui->BRT->setText(QStringLiteral("RT"));
    ui->BRTp->setText(QStringLiteral("RT+"));
    ui->BeRT->setText(QStringLiteral("eRT"));
    ui->tRT->clear();
    monitor.restart();

    if (!store)
        return;
    const int id = store->channel(channel).idrds;
    const RDSSource source = store->rdsSource(id);
    qDebug("log: %d %d %s", channel, id, qPrintable(source.name));
    if (!decoderCodec)
        decoderCodec = QTextCodec::codecForName(source.enc);
    const int coding = ui->cbDecode->findText(QString::fromUtf8(source.crt));
    ui->cbDecode->setCurrentIndex(std::max(0, coding));
}

void TabRDS::setDec()
{
    const quint8 wanted = ui->BRT->isChecked()    ? kViewRt
                          : ui->BeRT->isChecked() ? kViewErt
                                                  : kViewRtPlus;
    // A second click on RT or eRT asks for the bytes in hexadecimal.
    if (wanted != kViewRtPlus && viewMode == wanted) {
        viewMode |= kViewHex;
    } else {
        viewMode = wanted;
        ui->tRT->clear();
    }
    if (viewMode & kViewRt) {
        ui->tRT->setHtml(decodeText(monitor.rt, -1, -1, monitor.rtLength, kModeChosen));
        ui->tRT->setToolTip(QStringLiteral("normal RadioText"));
    } else if (viewMode & kViewErt) {
        ui->tRT->setHtml(
            decodeText(monitor.ert, -1, -1, monitor.ertLength, quint8(monitor.ertMessage & 1)));
        ui->tRT->setToolTip(QStringLiteral("enhanced RadioText ") +
                            (decoderCodec ? QString::fromLatin1(decoderCodec->name()) : QString()));
    } else {
        ui->tRT->setHtml(textHtml());
        ui->tRT->setToolTip(QStringLiteral("RadioText+ Tags"));
    }
}

void TabRDS::saveLog()
{
    const QString name = ModalQuestions::saveFileName(this, tr("RDS-Log speichern..."), QString(),
                                                      tr("RDS-Log (*.txt);;Alle Dateien (*)"));
    if (name.isEmpty())
        return;
    QFile file(name);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    file.write(ui->pLog->toPlainText().toUtf8());
}
