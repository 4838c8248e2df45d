#include "board/AfCodeList.h"

#include "settings/RDSSource.h"

#include <QSet>

namespace {

constexpr int kFmFirst = 876, kFmLast = 1079, kFmBase = 875;
constexpr int kLfFirst = 1530, kLfLast = 2790;
constexpr int kMfFirst = 5310, kMfLast = 16020;
constexpr int kLfMfStep = 90; // 9 kHz in 100 Hz
constexpr int kMfFirstCode = 16;
constexpr int kFmLastCode = kFmLast - kFmBase;
constexpr int kMfLastCode = (kMfLast - kMfFirst) / kLfMfStep + kMfFirstCode;
constexpr int kMethodAMaxCount = 24;
constexpr int kMethodBMaxFmCount = 23;
constexpr int kMethodBMaxLfMfCount = 24;

constexpr quint8 kAfOn = 1, kAfAuto = 2, kAfManual = 4, kAfMethodB = 8;

quint16 header(int count, int tuned)
{
    return quint16(((AfCodeList::kCountBase + count) << 8) | (tuned & 0xFF));
}

// Method A: one list of the tuned frequency's alternatives, two codes a word.
class MethodA
{
public:
    MethodA(QList<quint16>& codes, quint16 tuned) : codes(codes)
    {
        codes.append(header(0, tuned));
        used.insert(tuned);
    }

    void add(const AFEntry& entry, quint16 code)
    {
        if (used.contains(code))
            return;
        used.insert(code);
        if (entry.marker == AFEntry::kNegativeMarker || count > kMethodAMaxCount)
            return;
        if (AfCodeList::isFm(code)) {
            if (pending == AfCodeList::kNoCode) {
                pending = quint16(code << 8 | AfCodeList::kFiller);
            } else {
                codes.append(quint16((pending & 0xFF00) | code));
                pending = AfCodeList::kNoCode;
            }
        } else {
            if (pending != AfCodeList::kNoCode)
                codes.append(pending);
            pending = AfCodeList::kNoCode;
            codes.append(code);
        }
        ++count;
    }

    void finish()
    {
        if (pending != AfCodeList::kNoCode)
            codes.append(pending);
        codes[0] = header(count, codes[0]);
    }

private:
    QList<quint16>& codes;
    QSet<quint16> used;
    int count = 1;
    quint16 pending = AfCodeList::kNoCode;
};

// Method B: one list per transmitter, headed by its tuning frequency. Each
// list stands alone for the receiver tuned to its head, so a frequency that
// two transmitters share is sent in both lists; within a list it is sent
// once. Entries before the first marked head belong to the tuned frequency.
class MethodB
{
public:
    MethodB(QList<quint16>& codes, quint16 tuned) : codes(codes)
    {
        lists.append(List{quint8(tuned), {}, {}});
    }

    void add(const AFEntry& entry, quint16 code)
    {
        if (entry.marker == AFEntry::kNegativeMarker) {
            // Only an FM frequency can head a list: method B pairs with it.
            if (AfCodeList::isFm(code))
                current = listHeadedBy(quint8(code));
            return;
        }
        List& list = lists[current];
        if (code == list.head || list.codes.contains(code))
            return;
        list.codes.append(code);
        list.regional.append(entry.regional != 0);
    }

    void finish()
    {
        bool sent = false;
        for (const List& list : std::as_const(lists)) {
            if (!list.codes.isEmpty()) {
                send(list);
                sent = true;
            }
        }
        // Without any alternative the tuned frequency still heads a list.
        if (!sent)
            codes.append(header(1, lists.first().head));
    }

private:
    struct List
    {
        quint8 head;
        QList<quint16> codes;
        QList<bool> regional;
    };

    int listHeadedBy(quint8 head)
    {
        for (int i = 0; i < lists.size(); ++i) {
            if (lists[i].head == head)
                return i;
        }
        lists.append(List{head, {}, {}});
        return int(lists.size()) - 1;
    }

    void send(const List& list)
    {
        int headerIndex = int(codes.size());
        int count = 1;
        codes.append(header(count, list.head));
        for (int i = 0; i < list.codes.size(); ++i) {
            const quint16 code = list.codes[i];
            const bool fm = AfCodeList::isFm(code);
            // A full list goes on in a further list with the same head
            // instead of dropping the frequency.
            const bool fits = fm ? count <= kMethodBMaxFmCount : count <= kMethodBMaxLfMfCount;
            if (!fits) {
                codes[headerIndex] = header(count, list.head);
                headerIndex = int(codes.size());
                count = 1;
                codes.append(header(count, list.head));
            }
            if (!fm) {
                codes.append(code);
                count += 1;
                continue;
            }
            const quint8 low = quint8(qMin<int>(list.head, code));
            const quint8 high = quint8(qMax<int>(list.head, code));
            codes.append(list.regional[i] ? quint16(high << 8 | low) : quint16(low << 8 | high));
            count += 2;
        }
        codes[headerIndex] = header(count, list.head);
    }

    QList<quint16>& codes;
    QList<List> lists;
    int current = 0;
};

} // namespace

quint16 AfCodeList::afCode(int frequency)
{
    if (frequency >= kFmFirst && frequency <= kFmLast)
        return quint16(frequency - kFmBase);
    if (frequency >= kLfFirst && frequency <= kLfLast)
        return quint16(kLfMfFlag | ((frequency - kLfFirst) / kLfMfStep + 1));
    if (frequency >= kMfFirst && frequency <= kMfLast)
        return quint16(kLfMfFlag | ((frequency - kMfFirst) / kLfMfStep + kMfFirstCode));
    return kNoCode;
}

int AfCodeList::afFrequency(quint8 code, bool afterLfMf)
{
    if (!afterLfMf)
        return code >= 1 && code <= kFmLastCode ? kFmBase + code : 0;
    if (code >= 1 && code < kMfFirstCode)
        return kLfFirst + (code - 1) * kLfMfStep;
    if (code >= kMfFirstCode && code <= kMfLastCode)
        return kMfFirst + (code - kMfFirstCode) * kLfMfStep;
    return 0;
}

int AfCodeList::build(RDSSource& source, int tunedFrequency)
{
    source.codes.clear();
    if (!(source.afu & kAfOn))
        return 0;
    const quint16 tuned = afCode(tunedFrequency);
    QList<AFEntry> entries;
    if (source.afu & kAfAuto)
        entries += source.af;
    if (source.afu & kAfManual)
        entries += source.afs;

    QSet<quint16> offered{tuned};
    const auto walk = [&](auto&& method) {
        for (const AFEntry& entry : std::as_const(entries)) {
            const quint16 code = afCode(entry.freq);
            // A frequency outside the AF bands has no code to send.
            if (code == kNoCode)
                continue;
            offered.insert(code);
            method.add(entry, code);
        }
        method.finish();
    };
    if (source.afu & kAfMethodB)
        walk(MethodB(source.codes, tuned));
    else
        walk(MethodA(source.codes, tuned));
    return int(offered.size()) - 1;
}
