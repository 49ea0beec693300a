// The editor driven by arbitrary commands and arbitrary UTF-16 text: whatever it builds must be
// written and read back as the same document.
#include "FuzzSupport.h"
#include "base/Failure.h"
#include "wordproc/msdoc/DocReader.h"
#include "wordproc/msdoc/DocWriter.h"
#include "wordproc/editing/Editor.h"

#include <cstddef>
#include <cstdint>

namespace {

class Input {
public:
    Input(const std::uint8_t *data, std::size_t size) : m_data(data), m_size(size) {}
    bool done() const { return m_at >= m_size; }
    int byte() { return done() ? 0 : m_data[m_at++]; }
    QString text()
    {
        const int units = byte();
        QString text;
        for (int i = 0; i < units && m_at + 1 < m_size; ++i, m_at += 2)
            text += QChar(char16_t(m_data[m_at] | (m_data[m_at + 1] << 8)));
        return text;
    }

private:
    const std::uint8_t *m_data;
    std::size_t m_size;
    std::size_t m_at = 0;
};

void apply(wordproc::Editor &editor, Input &in)
{
    using namespace wordproc;
    switch (in.byte() % 10) {
    case 0: editor.typeText(in.text()); break;
    case 1: editor.moveRight(in.byte() % 8, false); break;
    case 2: editor.moveRight(1 + in.byte() % 4, true); break;
    case 3: editor.moveDown(1 + in.byte() % 3); break;
    case 4: editor.insertTable(editor.selectionEnd(), 1 + in.byte() % 4, 1 + in.byte() % 4); break;
    case 5: editor.mergeCells(); break;
    case 6: editor.setRowsHeightRule(HeightRule(in.byte() % 3)); break;
    case 7: editor.setRowsHeight(in.byte() * 8); break;
    case 8: {
        const int size = 2 + in.byte() % 60;
        const bool bold = in.byte() & 1;
        editor.changeFont([&](CharFormat &format) {
            format.halfPoints = size;
            format.bold = bold;
        });
        break;
    }
    case 9: editor.setParagraphAlignment(in.byte() & 1 ? Alignment::Centre : Alignment::Left); break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    fuzzsupport::ensureApplication();
    Input in(data, size);
    wordproc::Editor editor;
    for (int step = 0; step < 64 && !in.done(); ++step) {
        try {
            apply(editor, in);
        } catch (const base::Failure &) {
            // Refused commands (no table here, a table inside a table) leave the document as it was.
        }
    }
    wordproc::Document again;
    try {
        again = wordproc::decodeDoc(wordproc::encodeDoc(editor.document()));
    } catch (const base::Failure &) {
        fuzzsupport::finding("an edited document could not be written and read back");
    }
    if (!(again == editor.document()))
        fuzzsupport::finding("write and read changed the edited document");
    return 0;
}
