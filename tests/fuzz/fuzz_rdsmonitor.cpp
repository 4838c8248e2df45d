// Group records of the RDS monitor: the values a channel publishes under
// chinfo.N.rdslog.M, taken in by the decoder, turned into its line text and
// read back through the statistics table. The input is a run of values, each
// a channel byte (minus 64, so channels outside 1-96 arrive too), a control
// byte and up to 31 bytes:
//   control bits 0-4  the value's length (17 is a record, anything else not)
//   control bit 5     make the record's check words right first, so that a
//                     mutation reaches the decoding instead of the check
//   control bit 6     show that channel in the table first
//   control bit 7     toggle the log filter of the table row (length) first
#include "FuzzKit.h"

#include "board/RdsGroupBytes.h"
#include "rds/RDSDecoder.h"
#include "settings/RdsLogRecord.h"

#include <algorithm>

namespace {

constexpr int kChannelBias = 64;
constexpr uint8_t kLengthMask = 0x1F, kFixChecks = 0x20, kShow = 0x40, kToggleFilter = 0x80;

void fixCheckwords(QByteArray& record)
{
    auto* bytes = reinterpret_cast<quint8*>(record.data());
    RdsGroup group = RdsGroupBytes::unpack(bytes);
    group.computeCheckwords();
    RdsGroupBytes::pack(group, bytes);
}

void readTable(const RDSDecoder& decoder)
{
    for (int row = -1; row <= decoder.rowCount(); ++row) {
        for (int column = -1; column <= decoder.columnCount(); ++column) {
            const QModelIndex index = decoder.index(row, column);
            decoder.data(index);
            decoder.data(index, Qt::CheckStateRole);
            decoder.flags(index);
        }
        decoder.headerData(row, Qt::Horizontal);
        decoder.headerData(row, Qt::Vertical);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    RDSDecoder decoder;
    size_t at = 0;
    while (at + 2 <= size) {
        const int channel = int(data[at]) - kChannelBias;
        const uint8_t control = data[at + 1];
        at += 2;
        const size_t length = std::min(size_t(control & kLengthMask), size - at);
        QByteArray value = FuzzKit::bytes(data + at, length);
        at += length;

        if (control & kShow)
            decoder.setLog(channel);
        if (control & kToggleFilter) {
            const QModelIndex row = decoder.index(int(control & kLengthMask), 0);
            const bool filtered = decoder.data(row, Qt::CheckStateRole).toInt() == Qt::Unchecked;
            decoder.setData(row, filtered ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole);
        }
        if ((control & kFixChecks) && RdsLogRecord::isRecord(value))
            fixCheckwords(value);
        decoder.addGroup(channel, value);
        QString line;
        decoder.decodeGroup(decoder.group(channel), line);
        if (control & kShow)
            readTable(decoder);
    }
    readTable(decoder);
    return 0;
}
