// The main window's transfers: Read and Write on the selected port, and how they stop.
#include "ui/main/main_window.h"

#include "image/device_models.h"
#include "image/image_state.h"
#include "link/link_messages.h"
#include "link/stop_messages.h"
#include "link/switch_session.h"
#include "link/transports.h"
#include "ui/main/main_window_texts.h"
#include "ui/main/port_list_box.h"
#include "ui/main/prompting_sink.h"
#include "ui/preferences.h"
#include "ui/prompter.h"
#include "ui/stop_signal_watch.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTime>

#include <cstdio>

namespace
{

namespace T = MainWindowTexts;

QString now()
{
    return QTime::currentTime().toString(QStringLiteral("HH:mm"));
}

void toStandardError(const QString &text)
{
    std::fprintf(stderr, "%s\n", qPrintable(text));
    std::fflush(stderr);
}

} // namespace

void MainWindow::takeStopSignals(StopSignalWatch &watch)
{
    stopSignals_ = &watch;
    connect(&watch, &StopSignalWatch::signalled, this, &MainWindow::quitOnSignal);
}

int MainWindow::notedSignal() const
{
    return stopSignals_ ? stopSignals_->received() : 0;
}

void MainWindow::stopTransfer()
{
    if (running_)
        stopRequested_ = true;
}

bool MainWindow::takeTypedPort()
{
    const std::optional<QString> problem = portList->takeTypedEntry();
    refusedPort_ = problem ? portList->currentText() : QString();
    if (!problem)
        return true;
    services_.prompter.showMessage(*problem, MessageIcon::Exclamation);
    statusLine->setText(*problem);
    return false;
}

QString MainWindow::portDescription() const
{
    const QString label = portList->itemText(portList->currentIndex());
    const QString device = displayedPortName(portList->device());
    return label.endsWith(device) ? label : QStringLiteral("%1 (%2)").arg(label, device);
}

void MainWindow::readFromSwitch()
{
    if (!takeTypedPort() || !mayDiscardChanges(T::kReadDiscards))
        return;
    const QString port = portList->itemText(portList->currentIndex());
    if (runOnSwitch(Transfer::Read, readButton, &SwitchSession::read) == SessionOutcome::Done) {
        setImageCommandsEnabled(true);
        setSource(T::readFrom(port, now()));
        statusLine->setText(T::readDone(deviceCountOf(deviceModel()), port));
    }
    finishAfterTransfer();
}

void MainWindow::writeToSwitch()
{
    if (!takeTypedPort())
        return;
    const QString port = portList->itemText(portList->currentIndex());
    const SessionOutcome outcome = runOnSwitch(Transfer::Write, writeButton, &SwitchSession::write);
    // Every device verified: the switch holds the settings (restarted or not).
    if (outcome == SessionOutcome::Done || outcome == SessionOutcome::NotRestarted) {
        state_.unsavedChanges = false;
        setSource(T::writtenTo(port, now()));
    }
    if (outcome == SessionOutcome::Done)
        statusLine->setText(QString::fromLatin1(T::kWritten));
    finishAfterTransfer();
}

SessionOutcome MainWindow::runOnSwitch(Transfer transfer, QPushButton *button,
                                       SessionOutcome (SwitchSession::*command)(int model))
{
    // Nothing may start a second command until this one has ended; the transfers keep the event
    // loop running, so the window repaints and Stop, Escape and a closing are heard meanwhile.
    running_ = transfer;
    stopRequested_ = false;
    button->setEnabled(false);
    commandPanel->setEnabled(false);
    stopButton->setVisible(true);

    const QString device = portList->device();
    portList->noteUsed(device);
    if (services_.preferences)
        services_.preferences->setRecentPorts(portList->recentDevices());
    const std::unique_ptr<SerialLine> line = switchAccess_.lines(device, switchAccess_.clock);
    SwitchSession *session = nullptr;
    PromptingSink messages(
        services_.prompter,
        [this, &session](const QString &text) { return explainMessage(text, session); },
        [this] { return notedSignal() != 0; });
    SwitchSession running(
        state_, *line, switchAccess_.clock, messages, [this](const ProgressState &progress) {
            progressBar->setFormat(progress.phase.isEmpty()
                                       ? QStringLiteral("%p%")
                                       : progress.phase + QStringLiteral(" (%p%)"));
            progressBar->setValue(progress.value);
            progressBar->setVisible(progress.visible);
        });
    session = &running;
    running.setStopRequest([this] { return stopRequested_ || notedSignal() != 0; });
    const SessionOutcome outcome = (running.*command)(deviceModel());
    statusLine->setText(T::failed(messages.lastText, messages.lastReason));
    if (outcome == SessionOutcome::Stopped)
        reportStop(transfer, running);

    progressBar->setVisible(false);
    stopButton->setVisible(false);
    commandPanel->setEnabled(true);
    button->setEnabled(true);
    running_.reset();
    return outcome;
}

QString MainWindow::explainMessage(const QString &text, SwitchSession *session) const
{
    if (text == QLatin1String(LinkMessages::kFailedToAccess))
        return T::noAnswerOn(portDescription());
    if (session && text == QLatin1String(LinkMessages::kWriteOnceAgain)) {
        const int sent = session->link().wordsSent();
        const int toSend = session->link().wordsToSend();
        return T::wordsSent(sent, toSend) +
               StopMessages::notRestartedHolding(QString::fromLatin1(
                   sent < toSend ? T::kPartOfTheNewOne : T::kTheNewOneUnverified));
    }
    return QString();
}

void MainWindow::reportStop(Transfer transfer, SwitchSession &session)
{
    const int signal = notedSignal();
    QString text;
    if (transfer == Transfer::Read)
        text = signal ? StopMessages::stoppedBy(signal) + QLatin1String(T::kReadStoppedBySignal)
                      : QString::fromLatin1(T::kReadStopped);
    else
        text = (signal ? StopMessages::stoppedBy(signal) : QString::fromLatin1(T::kWriteStopped)) +
               StopMessages::writeStopped(session.link().wordsSent(), session.link().wordsToSend());
    statusLine->setText(text);
    // Ended by a signal, the program is about to go: said where its starter can read it.
    if (signal)
        toStandardError(text);
    else
        services_.prompter.showMessage(text, MessageIcon::Exclamation);
}

void MainWindow::finishAfterTransfer()
{
    if (const int signal = notedSignal()) {
        quitOnSignal(signal);
        return;
    }
    if (closeAfterTransfer_) {
        closeAfterTransfer_ = false;
        close();
    }
}

void MainWindow::quitOnSignal(int signal)
{
    if (running_) {
        // The transfer stops at its next word and the program ends after it; a message waiting
        // for its OK would hold that up.
        if (QWidget *box = QApplication::activeModalWidget())
            box->close();
        return;
    }
    if (quittingOnSignal_)
        return;
    quittingOnSignal_ = true;
    if (hasWorkToLose())
        toStandardError(StopMessages::stoppedBy(signal) + QLatin1String(T::kUnsavedLostBySignal));
    emit quitRequested(128 + signal);
    close();
}
