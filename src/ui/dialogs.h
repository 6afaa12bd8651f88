#pragma once

#include <QString>

class QWidget;

// Every message box and file dialog goes through here, so tests can script
// the answers and read back what the fitter was told.
class Dialogs {
  public:
    enum class Icon { Warning, Information, Question };

    virtual ~Dialogs() = default;

    // A message with an OK button. It does not wait: the link's handlers
    // may call it while a reply is being processed.
    virtual void message(const QString &text, Icon icon, const QString &title = {}) = 0;
    // Yes/No question; true for Yes.
    virtual bool question(const QString &text, const QString &title, Icon icon) = 0;
    // File dialogs: filter in the "desc|pattern|desc|pattern" form. An empty
    // result means the fitter cancelled.
    virtual QString openFile(const QString &title, const QString &filter,
                             const QString &defaultName) = 0;
    virtual QString saveFile(const QString &title, const QString &filter,
                             const QString &defaultName) = 0;

    // saveFile, with the extension of the filter's first pattern added when
    // the fitter typed a name without one ("customer" -> "customer.fra"),
    // as the filter promises.
    QString savePath(const QString &title, const QString &filter, const QString &defaultName);
    static QString withFilterSuffix(const QString &path, const QString &filter);

    void warning(const QString &text, const QString &title = {}) {
        message(text, Icon::Warning, title);
    }
    void information(const QString &text, const QString &title = {}) {
        message(text, Icon::Information, title);
    }
};

// Qt's own message boxes and file dialogs.
class QtDialogs : public Dialogs {
  public:
    explicit QtDialogs(QWidget *parent) : m_parent(parent) {}

    void message(const QString &text, Icon icon, const QString &title) override;
    bool question(const QString &text, const QString &title, Icon icon) override;
    QString openFile(const QString &title, const QString &filter,
                     const QString &defaultName) override;
    QString saveFile(const QString &title, const QString &filter,
                     const QString &defaultName) override;

    // "File ECM(*.fra)|*.fra|All File (*.*)|*.*" -> "File ECM(*.fra) (*.fra);;..."
    static QString qtFilter(const QString &filter);

  private:
    QWidget *m_parent;
};
