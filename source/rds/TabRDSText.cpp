#include "rds/TabRDS.h"

#include "board/RdsAirText.h"
#include "board/RdsCharset.h"
#include "board/RdsText.h"
#include "gui/SelectedRows.h"
#include "rds/HexSpinBox.h"
#include "settings/FMSettings.h"
#include "settings/RDSSource.h"
#include "ui_TabRDS0.h"
#include "ui_TabRDSRT.h"
#include "ui_TabRDSUI.h"

#include <QComboBox>
#include <QCursor>
#include <QTableWidget>
#include <QTextCodec>
#include <QToolTip>

#include <algorithm>

namespace {

constexpr QChar kThinSpace(0x2009);
constexpr int kPsLimit = 8;
constexpr int kLongPsLimit = 32;
constexpr int kMaxTags = 16;
constexpr int kTipMilliseconds = 4321;

// Base colour halfway between the normal one and the signal colour, so the
// field stays readable.
QPalette warningPalette(const QPalette& normal, const QColor& signal)
{
    QPalette palette = normal;
    const QColor base = normal.color(QPalette::Base);
    const QColor mixed((base.red() + signal.red()) / 2, (base.green() + signal.green()) / 2,
                       (base.blue() + signal.blue()) / 2, (base.alpha() + signal.alpha()) / 2);
    palette.setColor(QPalette::Base, mixed);
    return palette;
}

quint16 hexField(const QString& text)
{
    return quint16(text.toUInt(nullptr, 16) & 0xFFFF);
}

quint8 flag(bool on, int bitNumber)
{
    return quint8(on ? 1u << bitNumber : 0u);
}

// What a receiver shows for the text of RadioText sent in the RDS table.
QString e1Preview(const RdsAirText::Bytes& air)
{
    QString shown;
    for (int i = 0; i < air.textSize; ++i)
        shown.append(QChar(RdsCharset::fromRds(quint8(air.bytes.at(i)))));
    return shown;
}

// The marks counted in characters: what the bytes in front of each decode to.
int charactersBefore(QTextCodec* codec, const QByteArray& bytes, int mark)
{
    return codec->toUnicode(bytes.left(std::max(0, mark))).size();
}

QString utf16le(const QByteArray& bytes)
{
    QString text;
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
        text.append(QChar(quint8(bytes[i]) | quint16(quint8(bytes[i + 1])) << 8));
    return text;
}

} // namespace

const QStringList& TabRDS::rtplusClassNames()
{
    static const QStringList names{
        "Dummy_Class",
        "Item.Title",
        "Item.Album",
        "Item.Tracknumber",
        "Item.Artist",
        "Item.Composition",
        "Item.Movement",
        "Item.Conductor",
        "Item.Composer",
        "Item.Band",
        "Item.Comment",
        "Item.Genre",
        "Info.News",
        "Info.News.Local",
        "Info.Stockmarket",
        "Info.Sport",
        "Info.Lottery",
        "Info.Horoscope",
        "Info.Daily_Diversion",
        "Info.Health",
        "Info.Event",
        "Info.Szene",
        "Info.Cinema",
        "Info.TV",
        "Info.Date_Time",
        "Info.Weather",
        "Info.Traffic",
        "Info.Alarm",
        "Info.Advertisement",
        "Info.URL",
        "Info.Other",
        "Stationname.Short",
        "Stationname.Long",
        "Program.Now",
        "Program.Next",
        "Program.Part",
        "Program.Host",
        "Program.Editorial",
        "Program.Frequency",
        "Program.Homepage",
        "Program.Subchannel",
        "Phone.Hotline",
        "Phone.Studio",
        "Phone.Other",
        "SMS.Studio",
        "SMS.Other",
        "Email.Hotline",
        "Email.Studio",
        "Email.Other",
        "MMS.Other",
        "Chat",
        "Chat.Center",
        "Vote.Question",
        "Vote.Center",
        "54 reserved",
        "55 reserved",
        "56 private",
        "57 private",
        "58 private",
        "Place",
        "Appointment",
        "Identifier",
        "Purchase",
        "Get_Data",
    };
    return names;
}

void TabRDS::calcPS()
{
    const RdsAirText::Bytes ps = RdsAirText::ps(shownTexts());
    ui0->CPS->setValue(ps.textSize);
    const QString tip = RdsText::hexView(ps.bytes, kThinSpace);
    ui0->PS->setToolTip(tip);
    // Only the operator's typing pops the tip, never the loading of a source.
    if (!loading && sender() == ui0->PS)
        showFieldTip(ui0->PS, tip);
    const QPalette warning = warningPalette(
        pagePalette, ui0->psscroll->isChecked() ? QColor(Qt::yellow) : QColor(Qt::red));
    ui0->CPS->setPalette(ps.textSize <= kPsLimit ? pagePalette : warning);
    ui0->PS->setPalette(ps.encodable ? pagePalette : warning);
}

void TabRDS::calcLPS()
{
    if (loading)
        return;
    const RdsAirText::Bytes lps = RdsAirText::longPs(shownTexts());
    ui0->CLPS->setValue(lps.endedSize);
    const QString tip = RdsText::hexView(lps.bytes, kThinSpace);
    ui0->LPS->setToolTip(tip);
    const QObject* origin = sender();
    if (origin == ui0->LPS || origin == ui0->LPSBOM || origin == ui0->forceL)
        showFieldTip(ui0->LPS, tip);
    const QPalette warning = warningPalette(pagePalette, Qt::red);
    ui0->CLPS->setPalette(lps.endedSize <= kLongPsLimit ? pagePalette : warning);
    ui0->LPS->setPalette(lps.encodable ? pagePalette : warning);
}

void TabRDS::refreshByteViews()
{
    showText();
    calcPS();
    calcLPS();
}

void TabRDS::showFieldTip(QWidget* field, const QString& tip)
{
    QToolTip::showText(field->mapToGlobal(QPoint(0, 0)), tip, field, QRect(), kTipMilliseconds);
}

void TabRDS::showText()
{
    if (loading)
        return;
    const RDSSource shown = shownTexts();
    const QMap<int, QString> tagTexts = tagTextsOfTable();
    const RdsAirText::Bytes out[4] = {
        RdsAirText::radioText(shown, 0, tagTexts), RdsAirText::radioText(shown, 1, tagTexts),
        RdsAirText::enhancedText(shown, 0, tagTexts), RdsAirText::enhancedText(shown, 1, tagTexts)};
    const int limits[4] = {RdsAirText::radioTextRoom(shown, 0), RdsAirText::radioTextRoom(shown, 1),
                           RdsAirText::kErtRoom, RdsAirText::kErtRoom};
    const bool e1 = !RdsAirText::radioTextCodec(shown.crt);
    const bool hexRT = uiRT->hexrt->isChecked();
    const bool hexERT = uiRT->hexer->isChecked();
    QSpinBox* counters[4] = {uiRT->CtextA, uiRT->CtextB, uiRT->CtextC, uiRT->CtextD};
    QPlainTextEdit* views[4] = {uiRT->plainA, uiRT->plainB, uiRT->plainC, uiRT->plainD};
    const QPalette warning = warningPalette(pagePalette, Qt::red);
    for (int i = 0; i < 4; ++i) {
        counters[i]->setValue(out[i].textSize);
        counters[i]->setPalette(out[i].textSize > limits[i] ? warning : pagePalette);
        views[i]->setPalette(out[i].encodable ? pagePalette : warning);
        const bool radioText = i < 2;
        if (radioText ? hexRT : hexERT)
            views[i]->setPlainText(RdsText::hexView(out[i].bytes, kThinSpace));
        else
            views[i]->setPlainText(radioText && e1 ? e1Preview(out[i]) : out[i].text);
    }
}

RDSSource TabRDS::shownTexts() const
{
    RDSSource shown = store ? store->rdsSource(sourceId) : RDSSource();
    shown.ps = ui0->PS->text();
    shown.lps = ui0->LPS->text();
    shown.clps = storedCodec(ui0->LPScode, loadedClps, &RdsAirText::sameTextCodec);
    shown.boml = flag(ui0->LPSBOM->isChecked(), 0);
    shown.endl = quint8(ui0->endL->value());
    shown.rta = uiRT->RTA->text();
    shown.rtb = uiRT->RTB->text();
    shown.rtc = uiRT->RTC->text();
    shown.rtd = uiRT->RTD->text();
    shown.enda = quint8(uiRT->endA->value());
    shown.endb = quint8(uiRT->endB->value());
    shown.endc = quint8(uiRT->endC->value());
    shown.endd = quint8(uiRT->endD->value());
    shown.endx = flag(uiRT->forceA->isChecked(), 0) | flag(uiRT->forceB->isChecked(), 1) |
                 flag(uiRT->forceC->isChecked(), 2) | flag(uiRT->forceD->isChecked(), 3) |
                 flag(ui0->forceL->isChecked(), 4);
    shown.crt = storedCodec(uiRT->RTcode, loadedCrt, &RdsAirText::sameRadioTextCoding);
    shown.enc = storedCodec(uiRT->eRTcode, loadedEnc, &RdsAirText::sameTextCodec);
    shown.rtxt = quint8((shown.rtxt & ~0x0C) | flag(uiRT->eRTBOM->isChecked(), 2) |
                        flag(uiRT->RTBOM->isChecked(), 3));
    if (uiRT->RTgroup->currentIndex() >= 0)
        shown.rtxg = quint8(uiRT->RTgroup->currentIndex());
    return shown;
}

void TabRDS::selectCodec(QComboBox* combo, const QByteArray& name, SameCoding same)
{
    // An entry added for another source's name goes first.
    for (int i = combo->count() - 1; i >= 0; --i) {
        if (combo->itemData(i, kStoredNameRole).toBool())
            combo->removeItem(i);
    }
    int index = combo->findText(QString::fromLatin1(name));
    for (int i = 0; index < 0 && i < combo->count(); ++i) {
        if (same(combo->itemText(i).toLatin1(), name))
            index = i;
    }
    if (index < 0) {
        combo->addItem(QString::fromLatin1(name));
        index = combo->count() - 1;
        combo->setItemData(index, true, kStoredNameRole);
    }
    combo->setCurrentIndex(index);
}

QByteArray TabRDS::storedCodec(const QComboBox* combo, const QByteArray& loaded, SameCoding same)
{
    // The name as loaded while the choice still means that coding, so that
    // "utf-8", an alias or an empty name stays as the project has it.
    const QByteArray chosen = combo->currentText().toLatin1();
    return same(chosen, loaded) ? loaded : chosen;
}

QMap<int, QString> TabRDS::tagTextsOfTable() const
{
    QMap<int, QString> texts;
    for (int row = 0; row < uiRT->tags->rowCount(); ++row) {
        if (const QTableWidgetItem* item = uiRT->tags->item(row, 1))
            texts.insert(row, item->text());
    }
    return texts;
}

void TabRDS::readRadioText(RDSSource& source)
{
    collectTags(source.rta, source.rtb, source.rtc, source.rtd, source.rttag);
    source.rpa = quint8(uiRT->rpA->value());
    source.rpb = quint8(uiRT->rpB->value());
    source.rpc = quint8(uiRT->rpC->value());
    source.rpd = quint8(uiRT->rpD->value());
    source.enda = quint8(uiRT->endA->value());
    source.endb = quint8(uiRT->endB->value());
    source.endc = quint8(uiRT->endC->value());
    source.endd = quint8(uiRT->endD->value());
    source.endx = flag(uiRT->forceA->isChecked(), 0) | flag(uiRT->forceB->isChecked(), 1) |
                  flag(uiRT->forceC->isChecked(), 2) | flag(uiRT->forceD->isChecked(), 3) |
                  flag(ui0->forceL->isChecked(), 4);
    source.eaid = hexField(uiRT->eRTaid->text());
    source.rtbit = hexField(uiRT->pRTbits->text());
    source.paid = hexField(uiRT->pRTaid->text());
    // A stored group the combo does not list stays as it was loaded.
    const int rtGroup = comboGroup(uiRT->pRTgroup);
    source.rtgrp = rtGroup < 0 ? loadedRtGroup : quint8(rtGroup);
    readItemBits(source);
    readErtBits(source);
    source.rtxg = quint8(uiRT->RTgroup->currentIndex());
    source.rtxt = flag(uiRT->sendRT->isChecked(), 0) | flag(uiRT->sendRTe->isChecked(), 1) |
                  flag(uiRT->eRTBOM->isChecked(), 2) | flag(uiRT->RTBOM->isChecked(), 3) |
                  flag(uiRT->flagAB->isChecked(), 4) | flag(uiRT->g3ert->isChecked(), 6) |
                  flag(uiRT->g3rtp->isChecked(), 7);
    const int ertGroup = comboGroup(uiRT->eRTgroup);
    source.ertg = ertGroup < 0 ? loadedErtGroup : quint8(ertGroup);
}

void TabRDS::popItemBitsTip()
{
    QObject* origin = sender();
    if (origin == uiRT->itemTog || origin == uiRT->itemRun) {
        const auto* box = static_cast<QWidget*>(origin);
        QToolTip::showText(QCursor::pos(), box->toolTip(), const_cast<QWidget*>(box));
    }
}

void TabRDS::readItemBits(RDSSource& source)
{
    const int toggle = int(uiRT->itemTog->checkState()); // 0 off, 1 partly, 2 on
    source.rtitm = flag(uiRT->itemRun->isChecked(), 0) | quint8((toggle & 3) << 1) |
                   flag(uiRT->readID3->isChecked(), 3);
    static const char* const toggleTips[] = {
        QT_TR_NOOP("Item toggle bit: aus"),
        QT_TR_NOOP("Item toggle bit: automatisch mit Audio ID3 Tag"),
        QT_TR_NOOP("Item toggle bit: ein"),
    };
    uiRT->itemTog->setToolTip(tr(toggleTips[std::clamp(toggle, 0, 2)]));
    uiRT->itemRun->setToolTip(uiRT->itemRun->isChecked() ? tr("Item running bit: ein")
                                                         : tr("Item running bit: aus"));
}

void TabRDS::readErtBits(RDSSource& source)
{
    const quint16 typed = hexField(uiRT->eRTbits->text());
    source.ertb = typed;
    source.rtbit = quint16((source.rtbit & ~0x2000) | (uiRT->eRTflag->isChecked() ? 0x2000 : 0));
    source.ertb = quint16((source.ertb & ~0x0002) | (uiRT->eRTL->isChecked() ? 0x0002 : 0));
    source.crt = storedCodec(uiRT->RTcode, loadedCrt, &RdsAirText::sameRadioTextCoding);
    source.enc = storedCodec(uiRT->eRTcode, loadedEnc, &RdsAirText::sameTextCodec);
    // The UTF-8 flag follows the codec the encoder takes for the name.
    const bool utf8 = RdsAirText::sameTextCodec(source.enc, QByteArrayLiteral("UTF-8"));
    source.ertb = quint16((source.ertb & ~0x0001) | (utf8 ? 0x0001 : 0));
}

void TabRDS::showErtBits(quint16 bits)
{
    if (hexField(uiRT->eRTbits->text()) != bits)
        uiRT->eRTbits->setText(QStringLiteral("%1").arg(bits, 4, 16, QLatin1Char('0')).toUpper());
}

void TabRDS::markGroupClash()
{
    const bool clash = uiRT->pRTgroup->currentText() == uiRT->eRTgroup->currentText();
    const QPalette palette = clash ? warningPalette(pagePalette, Qt::red) : pagePalette;
    uiRT->pRTgroup->setPalette(palette);
    uiRT->eRTgroup->setPalette(palette);
}

void TabRDS::rtxtChanged()
{
    if (uiRT->sendRT->isChecked() && uiRT->sendRTe->isChecked() && uiRT->gRTplus->isChecked())
        QToolTip::showText(QCursor::pos(),
                           tr("Die RadioText+ Tags gelten nur für eine RadioText-Gruppe!"));
}

void TabRDS::addTag(RTag tag)
{
    QTableWidget* table = uiRT->tags;
    if (table->rowCount() >= kMaxTags)
        return;
    const int row = table->rowCount();
    table->insertRow(row);
    auto* types = new QComboBox;
    types->addItems(rtplusClassNames());
    types->setMaxVisibleItems(32);
    types->setSizeAdjustPolicy(QComboBox::AdjustToContentsOnFirstShow);
    types->setCurrentIndex(tag.type);
    connect(types, &QComboBox::currentIndexChanged, this, &TabRDS::slotChanged);
    table->setCellWidget(row, 0, types);
    table->setItem(row, 1, new QTableWidgetItem(tag.text));
    table->setVerticalHeaderItem(row, new QTableWidgetItem(tagMarker(row)));
    table->setCurrentCell(row, 1);
}

QString TabRDS::tagMarker(int row)
{
    return QStringLiteral("$") + QString::number(row, 16).toUpper();
}

void TabRDS::delTag()
{
    QTableWidget* table = uiRT->tags;
    const QList<int> rows = selectedRows(table);
    for (auto it = rows.crbegin(); it != rows.crend(); ++it)
        table->removeRow(*it);
    for (int row = 0; row < table->rowCount(); ++row)
        table->setVerticalHeaderItem(row, new QTableWidgetItem(tagMarker(row)));
    slotChanged();
}

void TabRDS::fillTags(const QString& a, const QString& b, const QString& c, const QString& d,
                      const QList<RTag>& tags)
{
    uiRT->RTA->setText(a);
    uiRT->RTB->setText(b);
    uiRT->RTC->setText(c);
    uiRT->RTD->setText(d);
    uiRT->tags->setRowCount(0);
    for (const RTag& tag : tags)
        addTag(tag);
}

void TabRDS::collectTags(QString& a, QString& b, QString& c, QString& d, QList<RTag>& tags)
{
    a = uiRT->RTA->text();
    b = uiRT->RTB->text();
    c = uiRT->RTC->text();
    d = uiRT->RTD->text();
    tags.clear();
    const QTableWidget* table = uiRT->tags;
    for (int row = 0; row < table->rowCount(); ++row) {
        RTag tag;
        if (const auto* types = qobject_cast<const QComboBox*>(table->cellWidget(row, 0)))
            tag.type = types->currentIndex();
        if (const QTableWidgetItem* item = table->item(row, 1))
            tag.text = item->text();
        tags.append(tag);
    }
}

QString TabRDS::decodeText(const QByteArray& bytes, int from, int to, int length, quint8 mode)
{
    static QTextCodec* const gb18030 = QTextCodec::codecForName("GB18030");
    if (viewMode & 8)
        return markedHtml(QString::fromLatin1(bytes.toHex()), 2 * from, 2 * to);
    const QByteArray data = length < bytes.size() ? bytes.left(std::max(0, length)) : bytes;
    if (mode == 4)
        mode = ui->cbDecode->currentIndex() == 0 ? 3 : quint8(ui->cbDecode->currentIndex());
    if (mode == 2 && !gb18030)
        mode = 3;
    QString text;
    if (mode == 1 || mode == 2) {
        QTextCodec* codec = mode == 1 ? QTextCodec::codecForName("UTF-8") : gb18030;
        text = codec->toUnicode(data);
        from = charactersBefore(codec, data, from);
        to = charactersBefore(codec, data, to);
    } else if (mode == 3) {
        for (char byte : data)
            text.append(RdsCharset::shownChar(quint8(byte)));
    } else {
        text = decodeUnflagged(data, from, to, gb18030);
    }
    return markedHtml(text, from, to);
}

// eRT without the UTF-8 flag: a byte order mark names the codec and is
// remembered for the texts that follow without one; UCS-2 otherwise.
QString TabRDS::decodeUnflagged(const QByteArray& data, int& from, int& to, QTextCodec* gb18030)
{
    if (gb18030 && data.startsWith(QByteArray::fromHex("84319533"))) {
        setDecoderTip(gb18030);
        return gb18030->toUnicode(data);
    }
    QTextCodec* codec = QTextCodec::codecForUtfText(data, nullptr);
    if (codec)
        setDecoderTip(codec);
    else
        codec = decoderCodec;
    if (!codec)
        return utf16le(data);
    from = charactersBefore(codec, data, from);
    to = charactersBefore(codec, data, to);
    return codec->toUnicode(data);
}

QString TabRDS::markedHtml(const QString& text, int from, int to)
{
    const QColor window = palette().color(QPalette::Window);
    const QColor yellow(Qt::yellow);
    const QString style = QStringLiteral("background-color: rgb(%1,%2,%3);")
                              .arg((window.red() + yellow.red()) / 2)
                              .arg((window.green() + yellow.green()) / 2)
                              .arg((window.blue() + yellow.blue()) / 2);
    // Received bytes may hold anything: no '<' of theirs may open a tag.
    auto plain = [](QString piece) {
        return piece.replace(QLatin1Char('<'), QStringLiteral("&lt;"));
    };
    QString html;
    if (from < to && from < text.size()) {
        const int start = std::max(0, from);
        const int end = std::min(int(text.size()), to);
        html = plain(text.left(start)) + QStringLiteral("<span style=\"") + style +
               QStringLiteral("\">") + plain(text.mid(start, end - start)) +
               QStringLiteral("</span>") + plain(text.mid(end));
    } else {
        html = plain(text);
    }
    html.replace(QLatin1Char('\n'), QStringLiteral("<br>"));
    html.replace(QStringLiteral("  "), QStringLiteral("&nbsp; "));
    return html;
}

void TabRDS::setDecoderTip(QTextCodec* codec)
{
    if (!codec || codec == decoderCodec)
        return;
    decoderCodec = codec;
    qDebug("dec: %s", codec->name().constData());
    ui->tRT->setToolTip(QString::fromLatin1(codec->name()));
}
