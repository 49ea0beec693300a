#include "QtMessageBoxes.h"

#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

#include <algorithm>

namespace shell {
namespace {

// A box breaks lines at spaces only, so a long path would stretch it beyond the screen and be cut.
// On screen, a run of more than 20 characters without a space may also break after each '/' and
// after every 8 characters; the text itself (what tests and logs see) is unchanged.
QString wrappable(const QString &text)
{
    constexpr QChar kBreak(0x200B); // zero-width space: a break opportunity that shows nothing
    constexpr qsizetype kLongRun = 20;
    constexpr int kEvery = 8;
    QString out;
    out.reserve(text.size() + text.size() / 4);
    qsizetype runStart = 0;
    int sinceBreak = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        out += ch;
        if (ch.isSpace()) {
            runStart = i + 1;
            sinceBreak = 0;
            continue;
        }
        ++sinceBreak;
        qsizetype runEnd = i;
        while (runEnd < text.size() && !text.at(runEnd).isSpace() && runEnd - runStart <= kLongRun)
            ++runEnd;
        const bool longRun = runEnd - runStart > kLongRun;
        const bool next = i + 1 < text.size();
        // Never between a surrogate pair's halves or before a combining mark.
        if (!longRun || !next || text.at(i + 1).isLowSurrogate() || text.at(i + 1).isMark() || text.at(i + 1).isSpace())
            continue;
        if (ch == QLatin1Char('/') || sinceBreak >= kEvery) {
            out += kBreak;
            sinceBreak = 0;
        }
    }
    return out;
}

// A long text in a box of the usual width would be taller than the screen: its lines are made as
// wide as the box may grow (Qt's limit for a message box on this screen).
void widenForLongText(QMessageBox &box, const QString &text)
{
    constexpr qsizetype kLongText = 400;
    auto *label = box.findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
    if (!label)
        return;
    if (text.size() < kLongText) {
        label->setMinimumWidth(0);
        return;
    }
    const QScreen *screen = box.screen() ? box.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const int screenWidth = screen->availableGeometry().width();
    const int boxLimit = screenWidth <= 1024 ? screenWidth : std::min(screenWidth - 480, 1000);
    label->setMinimumWidth(std::max(0, boxLimit - 150)); // room for the icon and the margins
}

} // namespace

void QtMessageBoxes::inform(const QString &title, const QString &text, runtime::BoxIcon icon)
{
    QMessageBox box(icon == runtime::BoxIcon::Warning ? QMessageBox::Warning : QMessageBox::NoIcon, title,
                    wrappable(runtime::boxText(text)), QMessageBox::Ok, QApplication::activeWindow());
    widenForLongText(box, text);
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
void QtMessageBoxes::notify(const QString &title, const QString &text, runtime::BoxIcon icon)
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
    open->setIcon(icon == runtime::BoxIcon::Warning ? QMessageBox::Warning : QMessageBox::NoIcon);
    open->setWindowTitle(title);
    open->setText(wrappable(runtime::boxText(text)));
    widenForLongText(*open, text);
    open->show();
}

runtime::BoxAnswer QtMessageBoxes::askYesNo(const QString &title, const QString &text, runtime::BoxAnswer defaultAnswer)
{
    QMessageBox box(QMessageBox::NoIcon, title, wrappable(runtime::boxText(text)), QMessageBox::Yes | QMessageBox::No,
                    QApplication::activeWindow());
    widenForLongText(box, text);
    box.setDefaultButton(defaultAnswer == runtime::BoxAnswer::No ? QMessageBox::No : QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    const int answer = box.exec();
    if (answer == QMessageBox::Yes)
        return runtime::BoxAnswer::Yes;
    return answer == QMessageBox::No ? runtime::BoxAnswer::No : runtime::BoxAnswer::Dismissed;
}

runtime::SaveAnswer QtMessageBoxes::askSaveDiscardCancel(const QString &title, const QString &text)
{
    QMessageBox box(QMessageBox::Warning, title, wrappable(runtime::boxText(text)),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QApplication::activeWindow());
    widenForLongText(box, text);
    // Alt+S, Alt+D; Escape is Cancel's.
    box.button(QMessageBox::Save)->setText(QCoreApplication::translate("MessageBoxes", "&Save"));
    box.button(QMessageBox::Discard)->setText(QCoreApplication::translate("MessageBoxes", "&Don't Save"));
    box.setDefaultButton(QMessageBox::Cancel);
    box.setEscapeButton(QMessageBox::Cancel);
    const int answer = box.exec();
    if (answer == QMessageBox::Save)
        return runtime::SaveAnswer::Save;
    return answer == QMessageBox::Discard ? runtime::SaveAnswer::Discard : runtime::SaveAnswer::Cancel;
}

int QtMessageBoxes::askChoice(const QString &title, const QString &text, const QStringList &buttons,
                              int defaultButton, int escapeButton)
{
    QMessageBox box(QMessageBox::NoIcon, title, wrappable(runtime::boxText(text)), QMessageBox::NoButton,
                    QApplication::activeWindow());
    widenForLongText(box, text);
    QList<QPushButton *> made;
    for (const QString &caption : buttons)
        made.append(box.addButton(caption, QMessageBox::ActionRole));
    if (defaultButton >= 0 && defaultButton < made.size())
        box.setDefaultButton(made[defaultButton]);
    if (escapeButton >= 0 && escapeButton < made.size())
        box.setEscapeButton(made[escapeButton]);
    box.exec();
    const auto chosen = made.indexOf(qobject_cast<QPushButton *>(box.clickedButton()));
    return chosen >= 0 ? int(chosen) : escapeButton;
}

} // namespace shell
