#pragma once
#include <QFont>
#include <QIcon>
#include <QString>

class QWidget;

namespace shell {

// Page containers and page areas are "picture boxes": plain widgets that skinning colours too,
// while colourWindow leaves them alone.
void markAsPictureBox(QWidget *widget);
bool isPictureBox(const QWidget *widget);

// The skin mechanism, member by member in the order applySkin uses them. Our skins are Qt style
// sheets (StyleSheetSkin); tests substitute their own.
class Skin {
public:
    virtual ~Skin() = default;
    // Reads the skin; throws runtime::AppError when the file cannot be read.
    virtual void load(const QString &path, const QString &section) = 0;
    virtual int options() const = 0;
    virtual void setOptions(int options) = 0;
    virtual void setApplyToAllWindows(bool on) = 0;
    virtual void setStyledBackgrounds(bool on) = 0;
    virtual void applyWindow(QWidget *window) = 0;
};

// A skin file is a Qt style sheet (UTF-8). What the switches mean here:
//  - option bit kPropagateOption: fonts and palettes a sheet sets reach the widgets inside the
//    styled ones (Qt::AA_UseStyleSheetPropagationInWidgetStyles);
//  - apply to all windows: the sheet is installed on the application, so the preview window and
//    the message boxes wear it too; otherwise only the given window does;
//  - styled backgrounds: the window paints its own background from the sheet
//    (Qt::WA_StyledBackground), which a plain top-level widget otherwise ignores.
class StyleSheetSkin final : public Skin {
public:
    static constexpr int kPropagateOption = 1;

    void load(const QString &path, const QString &section) override;
    int options() const override { return m_options; }
    void setOptions(int options) override { m_options = options; }
    void setApplyToAllWindows(bool on) override { m_allWindows = on; }
    void setStyledBackgrounds(bool on) override { m_styledBackgrounds = on; }
    void applyWindow(QWidget *window) override;

    const QString &styleSheet() const { return m_sheet; }

private:
    QString m_sheet;
    int m_options = 0;
    bool m_allWindows = false;
    bool m_styledBackgrounds = false;
};

// program folder + "/x/o.cjs"
QString skinFilePath();

// Dresses the main window with the skin when the skin file is there: the window and its option
// buttons, check boxes, frames, labels and picture boxes take the button-face colour, then the
// skin is loaded, its switches set and it is applied to the window. Without the file nothing
// changes. A failing step throws; the steps after it do not run.
void applySkin(QWidget *window, Skin &skin, const QString &skinFile = skinFilePath());
// The program's style-sheet skin; loaded once, it lives as long as the process.
StyleSheetSkin &programSkin();
// applySkin with the program's skin from the program folder.
void applySkin(QWidget *window);

// The preview window's colouring, skin or not: the window and its option buttons, check boxes,
// frames and labels take the button-face colour; picture boxes keep their own background.
void colourWindow(QWidget *window);

// The windows' font: bold Arial at the given size, or the family set below.
QFont windowFont(qreal points);

// The family windowFont() gives from now on, in place of "Arial": the family Qt lists for it,
// which the program finds at start-up before the first window. Empty leaves it as it is.
void useWindowFamily(const QString &family);

// The program's icon at the sizes title bars and window lists draw (32 and 48 pixels): what a
// window needs as it first shows. Throws runtime::AppError when its pictures are missing.
QIcon applicationIcon();

// The icon with its large sizes too (128 and 256 pixels, for docks and dense screens). Decoding
// those is most of the icon's cost, so the program adds them once the main window has shown.
// Throws runtime::AppError when its pictures are missing.
QIcon applicationIconAllSizes();

} // namespace shell
