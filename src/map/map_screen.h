#pragma once

#include "ui/form.h"

#include <QList>
#include <QString>

#include <array>
#include <optional>

class BandGraph;
class CoefficientGrid;
class LevelBar;
class NumericEdit;
class PointerStrip;
class ProposalTable;
class QLineEdit;
class QPushButton;
struct AppContext;

// FnMAP, the fitter's road-tuning screen: the live values needed while
// driving, start and stop of the map acquisition with its two curves, the
// pressure and "Dep" correction tables with their write, and the bank-1
// trims with theirs. Under the tables, the correction the drive proposes
// for the "Dep" table, which "Apply" writes after a restore point. "Quitter" (Btexit) returns to
// the monitor; the menu's navigation runs it, since it needs the calibration guard.
class MapScreen : public Form {
    Q_OBJECT
  public:
    explicit MapScreen(AppContext &app, QWidget *parent = nullptr);

    // The table codec of the coefficient page, on this screen's own fields.
    void PutInTaB();
    void TaBinMemoire();
    void TestValeurTableau();

    void BoutonCentrale_Click();
    void BoutonPC_Click();
    void StarMapAqui_Click();
    void StopMapAqui_Click();
    void Command1_Click();
    void BtCharge1_Click();
    void BtCharge2_Click();
    void BtRalenti1_Click();
    void BtRalenti2_Click();
    void SwitchCommutateur_Click();
    // The proposal from the acquisition's bands and the "Dep" table fields.
    void showProposal();
    // The proposal into the "Dep" fields and the image, a restore point of
    // what the ECU held, then the tables' write. Nothing is written without
    // the restore point.
    void ApplyProposal_Click();

    // The screen refresh's parts: the copies of the monitor's live values
    // (taken before the monitor recomputes them, so they show the previous
    // pass), the fuel state text, and the trims while not polling. While the
    // screen is hidden the copies are held and put on it when it is shown;
    // the two texts the map acquisition reads are put on while it runs.
    void refreshCopies();
    void refreshFuelState();
    void refreshTrims();

    // n = 1..20.
    NumericEdit *TxTbCP(int n) const;
    NumericEdit *TxTbCG(int n) const;
    CoefficientGrid *grid() const { return m_grid; }
    ProposalTable *proposal() const { return m_proposal; }

    // Width of the column left free for the acquisition window, in pixels.
    static constexpr int AcquisitionWidth = 294;
    // Where the acquisition window opens: the free column above the buttons,
    // in the coordinates of the window area holding both.
    QRect acquisitionRoom() const;

    QPushButton *BoutonCentrale, *BoutonPC;
    QPushButton *StarMapAqui, *StopMapAqui;
    BandGraph *Picture1;
    QLineEdit *txZoom, *TxzoomG, *TxTIG, *TextGazEtat;
    LevelBar *BarE1, *BarG1, *BarTPGaz, *BarLambda, *BarPression;
    PointerStrip *Pointeur, *pointeur2;
    QLineEdit *TxCharge, *TxRalenti;
    QPushButton *BtCharge1, *BtCharge2, *BtRalenti1, *BtRalenti2;
    QPushButton *Command1, *SwitchCommutateur, *Btexit;

  Q_SIGNALS:
    // The ECU acknowledged the write of an applied proposal: the "Dep"
    // table's 20 entries as written, entry 1 first.
    void proposalWritten(const QList<int> &entries);

  protected:
    void Form_Load() override;
    // Shown again, the tables show the image as it stands and the live
    // values what the last pass copied.
    void showEvent(QShowEvent *event) override;

  private:
    // The monitor's values as the last pass's copies took them.
    struct LiveCopies {
        QString petrolTime, gasTemperature, pressure, gasTime;
        int barTPGaz = 0, barLambda = 0, barPression = 0, barE1 = 0, barG1 = 0;
        int lambdaColour = 0, pressionColour = 0;
    };
    void showCopies();
    // txZoom and TxzoomG, which the acquisition reads.
    void showAcquisitionCopies();
    void buildLayout();
    QWidget *buildLive();
    QWidget *buildControls();
    void connectHandlers();
    void showCorrections();
    // The "Dep" table as its fields hold it, entry 1 first.
    std::array<int, 20> depEntries() const;

    AppContext &m_app;
    CoefficientGrid *m_grid;
    ProposalTable *m_proposal;
    std::optional<LiveCopies> m_copies;
    QWidget *m_acquisitionRoom;
};
