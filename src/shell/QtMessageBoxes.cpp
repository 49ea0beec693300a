#include "QtMessageBoxes.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPointer>

namespace shell {

void QtMessageBoxes::inform(const QString &title, const QString &text, BoxIcon icon)
{
    QMessageBox box(icon == BoxIcon::Warning ? QMessageBox::Warning : QMessageBox::NoIcon, title,
                    boxText(text), QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

namespace {

// Keys that reach a notice anyway (a window system that gives the keyboard to the window under the
// pointer) go on to the field the user was typing into; only Return, Enter and Escape answer the box.
class KeyForwarder final : public QObject {
public:
    KeyForwarder(QWidget *notice) : QObject(notice), m_notice(notice) { qApp->installEventFilter(this); }
    void setTarget(QWidget *target) { m_target = target; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
            return false;
        auto *widget = qobject_cast<QWidget *>(watched);
        if (!widget || widget->window() != m_notice || !m_target || m_target->window() == m_notice)
            return false;
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape)
            return false;
        const auto *original = static_cast<QKeyEvent *>(event);
        QKeyEvent copy(original->type(), original->key(), original->modifiers(), original->text(),
                       original->isAutoRepeat(), static_cast<quint16>(original->count()));
        QApplication::sendEvent(m_target, &copy);
        return true;
    }

private:
    QWidget *m_notice;
    QPointer<QWidget> m_target;
};

} // namespace

// A notice must not take the keyboard: the keys the user types next still go to their field.
// A later notice replaces the text of one still open rather than stacking a second box.
void QtMessageBoxes::notify(const QString &title, const QString &text, BoxIcon icon)
{
    static QPointer<QMessageBox> open;
    static QPointer<KeyForwarder> forwarder;
    // Where the window system gives the keyboard without activating windows, Qt has no focus
    // widget; the keys then go to the focus child of the window under the pointer.
    QWidget *typingInto = QApplication::focusWidget();
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (typingInto)
            break;
        if (top->isVisible() && top != open && top->focusWidget())
            typingInto = top->focusWidget();
    }
    if (!open) {
        open = new QMessageBox(QApplication::activeWindow());
        open->setAttribute(Qt::WA_DeleteOnClose);
        open->setAttribute(Qt::WA_ShowWithoutActivating);
        open->setWindowModality(Qt::NonModal);
        open->setStandardButtons(QMessageBox::Ok);
        forwarder = new KeyForwarder(open);
    }
    if (typingInto && typingInto->window() != open)
        forwarder->setTarget(typingInto);
    open->setIcon(icon == BoxIcon::Warning ? QMessageBox::Warning : QMessageBox::NoIcon);
    open->setWindowTitle(title);
    open->setText(boxText(text));
    open->show();
}

BoxAnswer QtMessageBoxes::askYesNo(const QString &title, const QString &text, BoxAnswer defaultAnswer)
{
    QMessageBox box(QMessageBox::NoIcon, title, boxText(text), QMessageBox::Yes | QMessageBox::No,
                    QApplication::activeWindow());
    box.setDefaultButton(defaultAnswer == BoxAnswer::No ? QMessageBox::No : QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    const int answer = box.exec();
    if (answer == QMessageBox::Yes)
        return BoxAnswer::Yes;
    return answer == QMessageBox::No ? BoxAnswer::No : BoxAnswer::Dismissed;
}

} // namespace shell
