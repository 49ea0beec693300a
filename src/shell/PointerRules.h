#pragma once
#include <QCursor>
#include <QObject>

#include <optional>

class QWidget;

namespace shell {

// A window's pointer setting.
inline constexpr int kPointerDefault = 0;
inline constexpr int kPointerBusy = 11;   // hourglass while a long operation runs
inline constexpr int kPointerCustom = 99; // the window's own (hand) pointer

// Where the mouse moved: over a push button, or over the window's own background or a frame.
// Moves over anything else (labels, fields, options, tabs, pages) leave the setting alone.
enum class PointerZone { Button, Background };

// The hover rule both windows share: buttons ask for the custom pointer, background and frames
// for the default one, and nothing replaces the busy pointer.
int pointerAfterMove(int current, PointerZone zone);

// The pointer setting of one window and how it shows: 0 leaves the window's cursor unset, 11 is
// the wait cursor, 99 the loaded custom cursor or, when none was loaded, the pointing hand.
class WindowPointer : public QObject {
public:
    explicit WindowPointer(QWidget *window);

    int value() const { return m_value; }
    void set(int value);

    void setCustomCursor(const QCursor &cursor);
    // The custom cursor from a cursor file; throws AppError when the file cannot be read.
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
    int m_value = kPointerDefault;
    std::optional<QCursor> m_custom;
};

} // namespace shell
