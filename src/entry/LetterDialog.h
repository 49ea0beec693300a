#pragma once
#include "decision/Letters.h"

#include <QDialog>

#include <functional>

class QButtonGroup;
class QComboBox;
class QLabel;

namespace entry {

// Chooses the letter to send after a decision, and whether as PDF or .doc. Each letter says what
// it still needs, so that a refusal is understood before anything is saved.
class LetterDialog final : public QDialog {
    Q_OBJECT
public:
    // Saves the letter; returns why it could not (or empty), and sets `cancelled` when the user
    // chose no file.
    using Save = std::function<QString(decision::LetterKind kind, bool pdf, bool &cancelled)>;

    LetterDialog(const QString &applicant, decision::LetterInput input, Save save, QWidget *parent = nullptr);

    decision::LetterKind kind() const;
    void setKind(decision::LetterKind kind);
    void setPdf(bool pdf);
    QString shownProblem() const;
    QString shownSaved() const;

    // The letter the decision calls for first.
    static decision::LetterKind suggested(const decision::Decision &decision);

private:
    void follow();
    void trySave();

    decision::LetterInput m_input;
    Save m_save;
    QButtonGroup *m_kinds = nullptr;
    QComboBox *m_format = nullptr;
    QLabel *m_missing = nullptr;
    QLabel *m_saved = nullptr;
};

} // namespace entry
