// The .doc writer on a device: every byte arrives however the device splits the writes, and a
// device that fails part-way is reported with its reason, never taken for a saved document.
#include "FailingDevice.h"
#include "SampleFormDocument.h"
#include "base/Failure.h"
#include "wordproc/msdoc/DocWriter.h"

#include <gtest/gtest.h>

using namespace wordproc;
using testsupport::FailingDevice;

namespace {

const QByteArray &sampleBytes()
{
    static const QByteArray bytes = encodeDoc(sampleform::makeSampleFormDocument());
    return bytes;
}

TEST(DocWriterDevice, TheWholeDocumentArrivesThroughSmallWrites)
{
    FailingDevice device(sampleBytes().size(), /*chunk=*/100);
    writeDoc(sampleform::makeSampleFormDocument(), device);
    EXPECT_EQ(device.received(), sampleBytes());
}

TEST(DocWriterDevice, ADeviceThatFailsAfterAnyNumberOfBytesIsReportedWithItsReason)
{
    const qint64 size = sampleBytes().size();
    for (const qint64 capacity : {qint64(0), qint64(1), qint64(511), qint64(512), size / 2, size - 1}) {
        SCOPED_TRACE(capacity);
        FailingDevice device(capacity, /*chunk=*/4096);
        try {
            writeDoc(sampleform::makeSampleFormDocument(), device);
            ADD_FAILURE() << "a failed write was taken for a saved document";
        } catch (const base::Failure &failure) {
            EXPECT_TRUE(failure.description().contains(FailingDevice::kReason)) << failure.description().toStdString();
        }
        EXPECT_EQ(device.received(), sampleBytes().left(capacity));
    }
}

TEST(DocWriterDevice, ADeviceNotOpenForWritingIsRefused)
{
    FailingDevice device(sampleBytes().size());
    device.close();
    EXPECT_THROW(writeDoc(sampleform::makeSampleFormDocument(), device), base::Failure);
}

} // namespace
