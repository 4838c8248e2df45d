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

class Builder
{
public:
    Builder(QList<quint16>& codes, quint16 tuned, bool methodB)
        : codes(codes), tuned(tuned), methodB(methodB)
    {
        codes.append(header(0, tuned));
        used.insert(tuned);
    }

    void add(const AFEntry& entry)
    {
        const quint16 code = AfCodeList::afCode(entry.freq);
        // A frequency outside the AF bands has no code to send.
        if (code == AfCodeList::kNoCode || used.contains(code))
            return;
        used.insert(code);
        ++distinct;
        if (methodB)
            addMethodB(entry, code);
        else
            addMethodA(entry, code);
    }

    void finish()
    {
        if (pending != AfCodeList::kNoCode)
            codes.append(pending);
        codes[headerIndex] = header(count, codes[headerIndex]);
    }

    int distinctCount() const { return distinct; }

private:
    void addMethodA(const AFEntry& entry, quint16 code)
    {
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

    void addMethodB(const AFEntry& entry, quint16 code)
    {
        const bool fm = AfCodeList::isFm(code);
        const bool newTuned = entry.marker == AFEntry::kNegativeMarker;
        const bool fits = fm ? count <= kMethodBMaxFmCount : count <= kMethodBMaxLfMfCount;
        if (newTuned || !fits) {
            codes[headerIndex] = header(count, listTuned);
            headerIndex = codes.size();
            count = 1;
            if (newTuned)
                listTuned = quint8(code);
            codes.append(header(1, listTuned));
            if (newTuned)
                return;
        }
        // A full list passes the frequency on to the next list instead of
        // dropping it.
        if (!fm) {
            codes.append(code);
            count += 1;
            return;
        }
        const quint8 low = quint8(qMin<int>(listTuned, code));
        const quint8 high = quint8(qMax<int>(listTuned, code));
        codes.append(entry.regional ? quint16(high << 8 | low) : quint16(low << 8 | high));
        count += 2;
    }

    QList<quint16>& codes;
    QSet<quint16> used;
    quint16 tuned;
    bool methodB;
    quint8 listTuned = quint8(tuned);
    int headerIndex = 0;
    int count = 1;
    int distinct = 0;
    quint16 pending = AfCodeList::kNoCode;
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
    Builder builder(source.codes, afCode(tunedFrequency), source.afu & kAfMethodB);
    if ((source.afu & kAfAuto) && !source.af.isEmpty()) {
        for (const AFEntry& entry : std::as_const(source.af))
            builder.add(entry);
    }
    if (source.afu & kAfManual) {
        for (const AFEntry& entry : std::as_const(source.afs))
            builder.add(entry);
    }
    builder.finish();
    return builder.distinctCount();
}
