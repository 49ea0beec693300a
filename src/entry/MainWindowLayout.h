#pragma once
// Where every control of the main window stands, as data: positions in twips (1/1440 inch)
// relative to the containing control, converted to device-independent pixels at 15 twips per
// pixel. The window builds itself from this table; tests read it without a window.
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

#include <vector>

namespace entry::mainwindow {

struct Twips {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int right() const { return left + width; }
    int bottom() const { return top + height; }
};

QRect toPixels(const Twips &rect); // on the program's twip grid, to the nearest pixel

enum class ControlKind { Button, TabControl, Page, Frame, Label, TextField, Option };

struct Placement {
    ControlKind kind;
    QString name;   // object name: "PushButton1", "SSTab2", "Picture2", "Frame3", "Label1_12", "txtCoName", ...
    QString parent; // the containing control's name; empty for the window itself
    Twips rect;     // relative to the parent
    QString caption;
    int index = -1; // Label1 index, or the tab of a page
    bool shown = true;
    QString field;  // for a label: the text field it names
};

struct Layout {
    Twips client;           // the window's client area
    int tabHeight = 0;      // the tab row of SSTab2
    int firstTab = 0;       // the tab in front when the window opens
    QStringList tabCaptions;
    std::vector<Placement> controls; // parents before their children
    QStringList tabOrder;            // keyboard order, object names

    // The tab row in pixels: the design's height, unless the pages would then not fit below it.
    int tabRowPixels() const;

    const Placement *find(const QString &name) const;
    std::vector<const Placement *> ofKind(ControlKind kind) const;
};

const Layout &mainWindowLayout();

// A field as a user finds it in the window, for messages: its tab, its frame's caption if any, and
// its label, "Co-applicant Information, Employment Information: Zip Code". The settings key for a
// name the layout does not hold.
QString fieldTitle(const QString &settingsKey);

// The names of the 16 frames, "Frame1" to "Frame16".
QString frameName(int number);
// "Label1_<index>"
QString labelName(int index);

} // namespace entry::mainwindow
