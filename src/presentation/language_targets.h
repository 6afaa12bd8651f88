#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <span>

struct AppContext;
class QWidget;

// Where each text of a language file goes.
namespace language {

enum class Kind {
    Caption,     // a button's, label's or frame's caption, a field's text
    CaptionTwo,  // the caption followed by " 2 " (the second engine frame)
    FormCaption, // the title of the form itself
    ComboEntry,  // entry `index` of a choice list, refilled as a whole
    Message,     // MessageTable entry `index`
};

struct Target {
    int text;
    const char *form; // objectName of the form ("Menu" and "Etat" included)
    const char *control;
    Kind kind = Kind::Caption;
    int index = 0;
};

std::span<const Target> targets();
// The tool's own captions on its screens (texts captions::FirstText and on):
// a text a file lacks keeps the English caption.
std::span<const Target> addedTargets();

// The highest text number a target uses.
int highestUsedText();
// Every text number some target uses, in ascending order.
QList<int> usedTexts();

// The widget a target names, or nullptr while its screen does not exist.
QWidget *findTarget(AppContext &app, const Target &target);

// "Form.Control" of every widget target that cannot be found.
QStringList unresolvedTargets(AppContext &app);

// Applies texts 0..200 to every target that exists: empty texts give empty
// captions, the two choice lists are emptied and refilled. Then the tool's
// own captions, and the small windows grow to show them whole.
void applyTexts(AppContext &app, const QStringList &texts);

// Grows every small window of the screen area that is narrower or lower
// than its captions need.
void fitWindows(AppContext &app);

} // namespace language
