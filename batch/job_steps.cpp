#include "batch/job_steps.h"

#include <QCoreApplication>

void BeginFetching(JobFrontEnd& front, const std::optional<ScheduleChoice>& choice) {
    front.DisableWindow();
    front.SetProgressPosition(0);
    front.SetStatus(QCoreApplication::translate("JobSteps", "начало..."));
    front.ShowProgress();
    front.ClearCancel();
    front.PumpEvents();
    if (choice && choice->dial)
        DialConnection(front.DialUp(), front, choice->entry, choice->user, choice->password);
}

bool HangUpIfAsked(JobFrontEnd& front, const std::optional<ScheduleChoice>& choice) {
    return !(choice && choice->hangUp) || HangUpAllConnections(front.DialUp(), front);
}
