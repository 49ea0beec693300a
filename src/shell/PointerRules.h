#pragma once
#include <QCursor>
#include <QObject>

#include <optional>

class QWidget;

namespace shell {

// A window's pointer setting. The numbers are the settings' historical codes.
enum class Pointer {
    Default = 0,
    Busy = 11,   // hourglass while a long operation runs
    Custom = 99, // the window's own (hand) pointer
};

// Where the mouse moved: over a push button, or over the window's own background or a frame.
// Moves over anything else (labels, fields, options, tabs, pages) leave the setting alone.
enum class PointerZone { Button, Background };

// The hover rule both windows share: buttons ask for the custom pointer, background and frames
// for the default one, and nothing replaces the busy pointer.
Pointer pointerAfterMove(Pointer current, PointerZone zone);

// The pointer setting of one window and how it shows: Default leaves the window's cursor unset, Busy
// is the wait cursor, Custom the loaded custom cursor or, when none was loaded, the pointing hand.
class WindowPointer : public QObject {
public:
    explicit WindowPointer(QWidget *window);

    Pointer value() const { return m_value; }
    void set(Pointer value);

    void setCustomCursor(const QCursor &cursor);
    // The custom cursor from a cursor file; throws runtime::AppError when the file cannot be read.
    void loadCustomCursor(const QString &path);
    bool hasCustomCursor() const { return m_custom.has_value(); }

    // Mouse moves over the control itself (not over one of its children) switch the setting
    // by the hover rule for `zone`.
    void watch(QWidget *control, PointerZone zone);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void show();

    QWidget *m_window;
    Pointer m_value = Pointer::Default;
    std::optional<QCursor> m_custom;
};

} // namespace shell
