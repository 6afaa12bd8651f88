#pragma once

#include "ui/dialogs.h"

#include <QList>
#include <QStringList>

// Records every message and answers questions and file dialogs as scripted.
class FakeDialogs : public Dialogs {
  public:
    struct Shown {
        QString text;
        Icon icon;
        QString title;
    };
    QList<Shown> shown;
    QList<bool> answers;          // answers to the next questions (default: yes)
    QStringList fileAnswers;      // paths for the next file dialogs (default: cancel)
    QList<QStringList> fileAsked; // title, filter and default name of each file dialog

    void message(const QString &text, Icon icon, const QString &title) override {
        shown.append({text, icon, title});
    }
    bool question(const QString &text, const QString &title, Icon icon) override {
        shown.append({text, icon, title});
        return answers.isEmpty() ? true : answers.takeFirst();
    }
    QString openFile(const QString &title, const QString &filter,
                     const QString &defaultName) override {
        fileAsked.append({title, filter, defaultName});
        return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
    }
    QString saveFile(const QString &t, const QString &f, const QString &d) override {
        return openFile(t, f, d);
    }
    QStringList texts() const {
        QStringList out;
        for (const Shown &s : shown)
            out.append(s.text);
        return out;
    }
};
