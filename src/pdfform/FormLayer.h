#pragma once
// The AcroForm layer of the fillable PDF and its reading, as a table of functions: the part that
// needs qpdf. The program loads it from its own module (tenvoria-pdfform.so, FormLayerModule.h)
// the first time a fillable PDF is exported or imported, so that a start does not map and relocate
// qpdf and the cryptography libraries under it; the render tool, tests and benches link it
// (LinkedFormLayer.h). Only plain data crosses the table and no exception does: a failure comes
// back as its text, which the caller raises as base::Failure.
#include <QMap>
#include <QStringList>

#include <QByteArray>
#include <QString>

#include <utility>
#include <vector>

namespace pdfform {

// What a filled copy of our form is read against, and what reading it gives: the one import result,
// from the layer up to the window.
struct ExpectedChoice {
    QString name;
    QStringList words; // the export values an option may have
};

struct ExpectedFields {
    QStringList texts;
    std::vector<ExpectedChoice> choices;
};

struct RefusedField {
    QString name;   // as the file names it
    QString reason; // a sentence for the person importing
};

struct FilledValues {
    QMap<QString, QString> values; // by field name
    QStringList taken;             // the names of `values`, in the file's order
    std::vector<RefusedField> refused;
};

// A value longer than this (UTF-16 units, as many as a line edit of the window takes) is refused.
inline constexpr int kMaxValueLength = 32767;
// A larger file is refused before it is parsed: our form is about 100 KB.
inline constexpr qsizetype kMaxPdfBytes = 64 * 1024 * 1024;


// Raised whenever a structure below or a function's meaning changes, so that a module built from
// other sources than the program is refused when loaded instead of misreading the program's data.
inline constexpr int kFormLayerVersion = 3;
// The module's one exported function: `const FormLayer *tenvoria_pdfform_layer(int version)`,
// null for a version it was not built for.
inline constexpr const char *kFormLayerEntry = "tenvoria_pdfform_layer";

// The key in the AcroForm dictionary and the document information that marks a form as one of
// ours; the import refuses a PDF without it.
inline constexpr const char *kMarkerKey = "/TenvoriaFillable";

// In PDF points, y up from the page's foot.
struct LayerRect {
    double left = 0, bottom = 0, right = 0, top = 0;
};

// The font the fields type in, embedded whole as a composite font (Identity-H): a character code
// is a glyph index, so a reader can encode whatever the applicant types that the face covers.
struct LayerFont {
    QByteArray file;         // TrueType
    std::vector<int> widths; // every glyph's advance by glyph index, in thousandths of the size
    std::vector<std::pair<quint32, char32_t>> unicodes; // glyph and the character it draws, for ToUnicode
    int ascent = 0, descent = 0, capHeight = 0;
    double widest = 0;
};

struct LayerTextField {
    QString name;    // the full name the import reads it back by
    QString tooltip; // the cell's label, or empty
    QString value;
    int page = 0;
    LayerRect rect;
    double fontSize = 9;
    int look = -1; // the page of LayerPlan::valueLooks that shows the value; -1 for an empty field
};

struct LayerButton {
    QString word; // the option's export value
    LayerRect rect;
};

struct LayerChoice {
    QString name;
    QString tooltip;
    QString value; // one of the buttons' words, or empty for none chosen
    int page = 0;
    std::vector<LayerButton> buttons;
};

struct LayerPlan {
    QByteArray pages;      // the printed pages, a PDF
    QByteArray valueLooks; // a PDF with a page for each value, the size of its field; empty when none
    int valueLookCount = 0;
    LayerFont font;
    std::vector<LayerTextField> texts;
    std::vector<LayerChoice> choices;
    QString language = QStringLiteral("en-US"); // the /Lang screen readers speak the form in
};

struct FormLayer {
    int version = kFormLayerVersion;
    // The plan's fields laid over its pages: true and the PDF in `out`, or false and the reason.
    bool (*addFields)(const LayerPlan &plan, QByteArray &out, QString &error) noexcept = nullptr;
    // The values of a filled copy: true and the values, or false and why the file is refused.
    bool (*readFields)(const QByteArray &pdf, const ExpectedFields &expected, FilledValues &out,
                       QString &error) noexcept = nullptr;
};

using FormLayerEntry = const FormLayer *(*)(int version);

} // namespace pdfform
