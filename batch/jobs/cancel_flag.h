// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A person's "Отмена" for the running job: raised by the progress dialog, read by the job and
// its tile loop at their checks, cleared when the next job starts. One object, handed to each
// of them, so that no window reaches into another's members for it.
class CancelFlag {
public:
    void Raise() { raised_ = true; }
    void Clear() { raised_ = false; }
    bool Raised() const { return raised_; }

private:
    bool raised_ = false;
};
