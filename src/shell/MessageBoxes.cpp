#include "MessageBoxes.h"

#include <QApplication>
#include <QMessageBox>

namespace shell {
namespace {
QtMessageBoxes g_qtBoxes;
MessageBoxes *g_current = &g_qtBoxes;
QString g_applicationTitle = QStringLiteral("Tenvoria");

// Word-processor texts separate lines with CR LF and paragraphs with lone CRs; Qt boxes want LF.
QString forDisplay(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}
} // namespace

void QtMessageBoxes::inform(const QString &title, const QString &text, BoxIcon icon)
{
    QMessageBox box(icon == BoxIcon::Warning ? QMessageBox::Warning : QMessageBox::NoIcon, title,
                    forDisplay(text), QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

BoxAnswer QtMessageBoxes::askYesNo(const QString &title, const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, title, forDisplay(text), QMessageBox::Yes | QMessageBox::No,
                    QApplication::activeWindow());
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    const int answer = box.exec();
    if (answer == QMessageBox::Yes)
        return BoxAnswer::Yes;
    return answer == QMessageBox::No ? BoxAnswer::No : BoxAnswer::Dismissed;
}

MessageBoxes &messageBoxes() { return *g_current; }
void setMessageBoxes(MessageBoxes *boxes) { g_current = boxes ? boxes : &g_qtBoxes; }

ScopedMessageBoxes::ScopedMessageBoxes(MessageBoxes &boxes) : m_previous(g_current) { g_current = &boxes; }
ScopedMessageBoxes::~ScopedMessageBoxes() { g_current = m_previous; }

QString applicationTitle() { return g_applicationTitle; }
void setApplicationTitle(const QString &title) { g_applicationTitle = title; }

} // namespace shell
