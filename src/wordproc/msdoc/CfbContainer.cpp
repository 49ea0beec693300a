#include "wordproc/msdoc/CfbContainer.h"

#include "base/Failure.h"

#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-memory.h>
#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-memory.h>
#include <gsf/gsf-utils.h>

#include <memory>

namespace wordproc::doc {

namespace {

void initialiseGsfOnce()
{
    static const bool initialised = [] {
        gsf_init();
        return true;
    }();
    (void)initialised;
}

struct GObjectUnref {
    void operator()(gpointer object) const
    {
        if (object)
            g_object_unref(object);
    }
};
template <typename T>
using GsfPtr = std::unique_ptr<T, GObjectUnref>;

[[noreturn]] void packFailed()
{
    throw base::Failure(QStringLiteral("The Word file could not be put together in memory."));
}

} // namespace

QByteArray packCompoundFile(const std::vector<CfbStream> &streams, const QByteArray &rootClassId)
{
    initialiseGsfOnce();
    GsfPtr<GsfOutput> sink(gsf_output_memory_new());
    GsfPtr<GsfOutfile> ole(gsf_outfile_msole_new(sink.get()));
    if (!sink || !ole)
        packFailed();
    if (rootClassId.size() == 16)
        gsf_outfile_msole_set_class_id(GSF_OUTFILE_MSOLE(ole.get()),
                                       reinterpret_cast<const guint8 *>(rootClassId.constData()));
    for (const CfbStream &stream : streams) {
        GsfPtr<GsfOutput> child(gsf_outfile_new_child(ole.get(), stream.name.toUtf8().constData(), FALSE));
        if (!child)
            packFailed();
        const bool written = stream.data.isEmpty()
                             || gsf_output_write(child.get(), gsize(stream.data.size()),
                                                 reinterpret_cast<const guint8 *>(stream.data.constData()));
        if (!written || !gsf_output_close(child.get()))
            packFailed();
    }
    if (!gsf_output_close(GSF_OUTPUT(ole.get())))
        packFailed();
    const gsf_off_t size = gsf_output_size(sink.get());
    const guint8 *bytes = gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(sink.get()));
    if (!bytes || size <= 0)
        packFailed();
    QByteArray file(reinterpret_cast<const char *>(bytes), qsizetype(size));
    return file;
}

std::map<QString, QByteArray> unpackCompoundFile(const QByteArray &file, const std::vector<QString> &names)
{
    initialiseGsfOnce();
    GsfPtr<GsfInput> input(gsf_input_memory_new(reinterpret_cast<const guint8 *>(file.constData()),
                                                gsf_off_t(file.size()), FALSE));
    GError *error = nullptr;
    GsfPtr<GsfInfile> ole(input ? gsf_infile_msole_new(input.get(), &error) : nullptr);
    if (error)
        g_error_free(error);
    if (!ole)
        throw base::Failure(QStringLiteral("The file is not a Word document: its compound file structure "
                                             "is missing or damaged."));
    std::map<QString, QByteArray> streams;
    for (const QString &name : names) {
        GsfPtr<GsfInput> child(gsf_infile_child_by_name(ole.get(), name.toUtf8().constData()));
        if (!child)
            continue;
        const gsf_off_t size = gsf_input_size(child.get());
        // A stream cannot hold more than the whole file; a larger size is a damaged directory.
        if (size < 0 || size > gsf_off_t(file.size()))
            throw base::Failure(QStringLiteral("The Word document is damaged and cannot be opened: "
                                                 "the %1 stream has an impossible size.").arg(name));
        QByteArray data(qsizetype(size), '\0');
        if (size > 0 && !gsf_input_read(child.get(), gsize(size), reinterpret_cast<guint8 *>(data.data())))
            throw base::Failure(QStringLiteral("The Word document is damaged and cannot be opened: "
                                                 "the %1 stream cannot be read whole.").arg(name));
        streams.emplace(name, std::move(data));
    }
    return streams;
}

} // namespace wordproc::doc
