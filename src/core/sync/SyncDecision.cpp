#include "core/sync/SyncDecision.h"

#include "core/sync/SyncStatus.h"
#include "core/system/Cp932.h"

QString MemoFileText(const QString &text) {
    int replaced = 0;
    return Cp932::replaceUnencodable(text, QChar(0x3013), replaced);
}

DayDecision DecideDay(const DayInput &in, QString (*lossy)(const QString &)) {
    using Action = DayDecision::Action;
    using Remote = DayInput::Remote;
    const bool localChanged = in.statusHash ? !in.local || TextHash(*in.local) != *in.statusHash : bool(in.local);
    const bool remoteChanged = in.statusHash ? in.remote != Remote::Unchanged : in.remote == Remote::Changed;

    if (!localChanged && !remoteChanged) return {};
    if (localChanged && !remoteChanged) {
        if (in.local) return {Action::Upload, {}, *in.local};
        return {Action::DeleteRemote, {}, {}};
    }
    if (!localChanged) {
        if (in.remote == Remote::Changed) return {Action::Store, lossy(in.remoteText), {}};
        return {Action::DeleteLocal, {}, {}};
    }
    // Both changed.
    if (!in.local) {
        if (in.remote == Remote::Changed) return {Action::Store, lossy(in.remoteText), {}};
        return {Action::Forget, {}, {}};
    }
    if (in.remote != Remote::Changed) return {Action::Upload, {}, *in.local};
    const QString remote = lossy(in.remoteText);
    // The same text on both sides (the same edit, or a download the status did not hear of): only agree.
    if (remote == *in.local) return {Action::Store, remote, {}};
    // A merge whose upload did not happen yet (the process ended): send it, do not merge again.
    const QString tail = u'\n' + kMergeLine + u'\n' + remote;
    if (in.local->endsWith(tail))
        return {Action::Upload, {}, in.local->chopped(tail.size()) + u'\n' + kMergeLine + u'\n' + in.remoteText};
    return {Action::Merge, *in.local + u'\n' + kMergeLine + u'\n' + remote,
            *in.local + u'\n' + kMergeLine + u'\n' + in.remoteText};
}
