#pragma once

#include <QFont>
#include <QStringList>
#include <QWidget>

class QPushButton;

// The bar of large buttons across the top of the main window.
class Menu : public QWidget {
    Q_OBJECT
  public:
    explicit Menu(QWidget *parent = nullptr);

    QPushButton *Moniteur;
    QPushButton *Parametres;
    QPushButton *Calibration;
    QPushButton *BtMap;
    QPushButton *BtEmi;
    QPushButton *BtEmission;
    QPushButton *BtMemoire;
    QPushButton *Charger;
    QPushButton *Sauvegarder;
    QPushButton *Connection;
    QPushButton *Info;
    QPushButton *quitter;

    // The buttons that need the ECU's configuration: disabled until it has
    // been read or loaded from a file.
    static const QStringList &dataButtons();
    // dataButtons() plus Charger and Connection: enabled by a completed load.
    static const QStringList &readyButtons();

    QPushButton *button(const QString &name) const;
    void setButtonsEnabled(const QStringList &names, bool enabled);
    QStringList enabledButtons() const;

  protected:
    bool event(QEvent *event) override;

  private:
    QPushButton *add(const char *name, const char *caption);
    // The shown buttons share the width equally, whatever their captions:
    // one row while every caption (without its padding blanks) fits, else
    // two half-height rows. Captions too long even then shrink together.
    void arrange();
    QList<QPushButton *> m_buttons;
    QList<QPushButton *> m_placed; // the shown buttons, in the grid
    int m_rows = 0;
    QFont m_captionFont;
};
