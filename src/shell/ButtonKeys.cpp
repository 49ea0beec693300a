#include "ButtonKeys.h"

#include <QKeyEvent>
#include <QPushButton>

namespace shell {
namespace {

class EnterPressesButton final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
            return false;
        // Shift+Enter and the like stay free for shortcuts; Enter on the keypad carries the
        // keypad modifier and counts as Enter.
        if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        auto *button = static_cast<QPushButton *>(watched);
        // A held key presses once, as Space does.
        if (!key->isAutoRepeat() && button->isEnabled())
            button->click();
        return true;
    }
};

} // namespace

void pressOnEnter(QPushButton *button)
{
    // One filter per button, owned by it, so it goes when the button does.
    button->installEventFilter(new EnterPressesButton(button));
}

} // namespace shell
