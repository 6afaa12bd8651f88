// The screenshot tour's part for the emission tools: the schedule read from
// the ECU with the clock running, the final test block, and the memory
// viewer following the live poll.
#include "app/screenshot_tour.h"
#include "emission/emission_screen.h"
#include "emission/final_test_screen.h"
#include "link/link.h"
#include "shell/main_window.h"
#include "shell/navigation.h"
#include "transfer/memory_viewer.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QScrollBar>

bool ScreenshotTour::emissionTools() {
    Screens &s = m_window.screens();
    Link &link = m_window.app().link;
    Navigation &nav = m_window.navigation();

    nav.BtEmi_Click();
    EmissionScreen *emi = s.emissionScreen;
    emi->BoutonPC_Click();
    if (!waitFor([&] { return !link.state.FullReadActive; }, 20000))
        return false;
    // Seven minutes into a test.
    emi->Temp.stop();
    emi->TxTemps->setText(QStringLiteral("419"));
    emi->EmiStart_Click();
    emi->Temp_Timer();
    bool ok = shoot(QStringLiteral("50-emission"));
    emi->HScroll2->setValue(schedule::LastScroll);
    ok = shoot(QStringLiteral("51-emission-end")) && ok;
    emi->BtStop_Click();

    emi->Command2_Click();
    s.finalTestScreen->BoutonPC_Click();
    waitFor([] { return false; }, 700); // the ECU's answer
    ok = shoot(QStringLiteral("52-final-test")) && ok;
    s.finalTestScreen->hideForm();
    emi->hideForm();

    // The live area while the monitor polls: changed bytes are marked.
    nav.Moniteur_Click();
    link.SendLine(link.poll.frame());
    nav.BtMemoire_Click();
    MemoryViewer *viewer = s.memoryViewer;
    viewer->Text1->setText(QStringLiteral("0"));
    viewer->Check1->setChecked(true);
    viewer->BtShow_Click();
    waitFor([] { return false; }, 1500);
    ok = shoot(QStringLiteral("53-memory-live")) && ok;
    viewer->Check1->setChecked(false);
    viewer->Text1->setText(QStringLiteral("&HF80"));
    viewer->BtShow_Click();
    ok = shoot(QStringLiteral("54-memory-end")) && ok;
    return ok;
}
