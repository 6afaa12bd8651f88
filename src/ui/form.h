#pragma once

#include <QWidget>

class QMdiArea;
class QMdiSubWindow;

// One form of the tool: a child window of the main window's screen area.
// Forms are loaded once (Form_Load runs), then shown and hidden as the
// fitter navigates. Closing a form with its title-bar button unloads it
// (Form_Unload runs); using it again loads it afresh.
class Form : public QWidget {
    Q_OBJECT
  public:
    Form(const QString &name, const QString &caption, QWidget *parent = nullptr);

    // framed: a small window with a title bar the fitter may close; a screen
    // form has no frame and fills the screen area.
    void attach(QMdiArea *area, bool framed);
    // Position in twips inside the main window (top counts from the menu bar's top).
    void place(int leftTwips, int topTwips);

    bool isLoaded() const { return m_loaded; }
    void ensureLoaded();
    void showForm();
    void hideForm();
    void unloadForm();
    bool isShown() const;

    QMdiSubWindow *window() const { return m_window; }

  protected:
    virtual void Form_Load() {}
    virtual void Form_Unload() {}
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    QMdiSubWindow *m_window = nullptr;
    bool m_loaded = false;
};
