#pragma once
// The message box kinds of the window behind one seam. The window shows real
// Qt dialogs; tests and batch mode use ScriptedMessageBoxes, which records
// every text shown and answers from a script.

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QWidget;

namespace zarven {

enum class BoxKind {
    Plain,        // no icon, OK
    Confirmation, // no icon, Yes only; closing it otherwise is "not Yes"
    Question,     // no icon, Yes and No
    Information,  // information icon, title "Information", OK
    Warning,      // custom dialog with the buttons its operation names (OK)
    Error,        // the default error report: error icon, OK
    Review,       // a list to look over before an action: the action's button and Cancel
};

const char *boxKindName(BoxKind kind);

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;

    // Shows a modal box; returns true when it was answered Yes (Plain,
    // Information, Warning and Error boxes return true once closed).
    virtual bool show(BoxKind kind, const QString &text) = 0;

    // The helpers below pass the text through the translator first: every
    // box the tool shows is written in Russian and appears in the window's
    // language. show() itself shows a text as it is.
    void plain(const QString &text) { show(BoxKind::Plain, translated(text)); }
    bool confirm(const QString &text) { return show(BoxKind::Confirmation, translated(text)); }
    bool question(const QString &text) { return show(BoxKind::Question, translated(text)); }
    void information(const QString &text) { show(BoxKind::Information, translated(text)); }
    void warning(const QString &text) { show(BoxKind::Warning, translated(text)); }
    // The default error report for an error nobody caught.
    void error(const QString &message);

    // The answers to "save the unsaved edits first?".
    enum class SaveChoice { Save, Discard, Cancel };
    // A question with the buttons Save, Discard and Cancel; Escape and the
    // close box answer Cancel.
    virtual SaveChoice askToSave(const QString &text) = 0;

    // A list to look over before an action (what a write will change): the
    // heading, the lines, a button for the action and Cancel (also Escape
    // and the close box). True when the action was chosen. The texts are
    // shown as given.
    virtual bool review(const QString &heading, const QStringList &lines, const QString &action) = 0;

    // A question with the buttons given, in order, the first the default;
    // the last is the cancel button, which Escape and the close box also
    // answer. Returns the index of the button chosen. The texts are shown as
    // given (callers translate them).
    virtual int choose(const QString &text, const QStringList &buttons) = 0;

    // Without a translator texts are shown as given.
    void setTranslator(std::function<QString(const QString &)> translate) { translate_ = std::move(translate); }
    QString translated(const QString &text) const { return translate_ ? translate_(text) : text; }

private:
    std::function<QString(const QString &)> translate_;
};

// Real modal Qt dialogs titled with the application title.
class QtMessageBoxes : public MessageBoxes {
public:
    explicit QtMessageBoxes(QWidget *parent = nullptr) : parent_(parent) {}
    bool show(BoxKind kind, const QString &text) override;
    SaveChoice askToSave(const QString &text) override;
    bool review(const QString &heading, const QStringList &lines, const QString &action) override;
    int choose(const QString &text, const QStringList &buttons) override;

    // While set, confirmation boxes (the completion messages of the
    // exchanges) are not shown but answered Yes and handed to the sink: a
    // series of controllers runs on without a click per message.
    void setConfirmationSink(std::function<void(const QString &)> sink) { confirmationSink_ = std::move(sink); }

private:
    QWidget *parent_;
    std::function<void(const QString &)> confirmationSink_;
};

// Records every box and answers it from a script. Without a scripted answer
// every box is answered Yes. A hook may run while the box is "open", for
// example to let timers fire behind it as they would behind a real modal box.
class ScriptedMessageBoxes : public MessageBoxes {
public:
    struct Shown {
        BoxKind kind;
        QString text;
    };

    bool show(BoxKind kind, const QString &text) override;
    // Recorded as a Question; answered from queueSaveChoices(), else Discard.
    SaveChoice askToSave(const QString &text) override;
    // Recorded as a Review box, the heading and the lines one a line;
    // answered from queueAnswers(), else the review answer (Yes unless set).
    bool review(const QString &heading, const QStringList &lines, const QString &action) override;
    void setReviewAnswer(bool yes) { reviewAnswer_ = yes; }
    // Recorded as a Question, the text then the buttons one a line; answered
    // from queueChoices(), else the first button.
    int choose(const QString &text, const QStringList &buttons) override;
    void queueChoices(std::initializer_list<int> choices) { choices_.append(choices); }

    void queueSaveChoices(std::initializer_list<SaveChoice> choices) { saveChoices_.append(choices); }

    // Answers for the next boxes, in order; true is Yes.
    void queueAnswers(std::initializer_list<bool> answers) { answers_.append(answers); }
    void setDefaultAnswer(bool yes) { defaultAnswer_ = yes; }
    // The answer of questions (Yes and No boxes) without a scripted answer;
    // confirmations keep the default answer.
    void setQuestionAnswer(bool yes) { questionAnswer_ = yes; }
    // Runs while a box is open, before it is answered.
    void setWhileOpen(std::function<void(const Shown &)> hook) { whileOpen_ = std::move(hook); }
    // Called for every box as it is shown (batch mode prints from here).
    void setOnShow(std::function<void(const Shown &)> hook) { onShow_ = std::move(hook); }

    const QList<Shown> &shown() const { return shown_; }
    QStringList texts() const;
    QStringList texts(BoxKind kind) const;
    int openCount() const { return openBoxes_; }
    void clear() { shown_.clear(); }

private:
    // Records a box and runs the hooks while it is "open".
    void open(const Shown &box);

    QList<Shown> shown_;
    QList<bool> answers_;
    QList<SaveChoice> saveChoices_;
    QList<int> choices_;
    bool defaultAnswer_ = true;
    std::optional<bool> questionAnswer_;
    bool reviewAnswer_ = true;
    int openBoxes_ = 0;
    std::function<void(const Shown &)> whileOpen_;
    std::function<void(const Shown &)> onShow_;
};

} // namespace zarven
