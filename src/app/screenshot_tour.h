#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class MainWindow;
class QWidget;

// Walks through every screen the way a fitter would (connect, first read,
// then each screen in turn) and saves one PNG of the main window per screen.
class ScreenshotTour {
  public:
    ScreenshotTour(MainWindow &window, QString directory);

    // False when the ECU did not answer or a picture could not be written.
    bool run();
    QStringList saved() const { return m_saved; }

  private:
    // The main window, or another top-level window of the tool.
    bool shoot(const QString &name, QWidget *window = nullptr);
    // The emission test, final test and memory viewer (builds with the emission tools).
    bool emissionTools();
    // The drive log running on the monitor, and the live chart.
    bool shootRecording();
    // The configuration compare against a file with a few changes.
    bool shootCompare();
    // The map screen after a stretch of driving on petrol and on gas.
    bool mapTour();
    // The calibration forms while running, the settings and both end forms.
    bool calibrationShots();
    // The job panel with a vehicle, its job and a history of two jobs, and
    // the new vehicle and job forms.
    bool shootJobs();
    bool waitFor(const std::function<bool()> &condition, int timeoutMs);

    MainWindow &m_window;
    QString m_dir;
    QStringList m_saved;
};
