#include "platform/TAction.h"

#include <algorithm>

namespace platform {

TActionLink::TActionLink(QObject* client) : FClient(client) {}

TActionLink::~TActionLink() { SetAction(nullptr); }

void TActionLink::SetAction(TAction* action)
{
    if (action == FAction)
        return;
    if (FAction)
        std::erase(FAction->FLinks, this);
    FAction = action;
    if (FAction)
        FAction->FLinks.push_back(this);
}

bool TActionLink::Execute() { return FAction && FAction->Execute(FClient); }

TAction::TAction(QObject* owner) : QObject(owner) {}

TAction::~TAction()
{
    // Links outlive the action: they are told it is gone, not destroyed.
    for (TActionLink* link : FLinks)
        link->FAction = nullptr;
}

template <typename F>
void TAction::ForEachLink(F&& f)
{
    // A setter may unlink its client (or link another) while the list is walked.
    const std::vector<TActionLink*> links = FLinks;
    for (TActionLink* link : links)
        if (std::find(FLinks.begin(), FLinks.end(), link) != FLinks.end())
            f(*link);
}

template <typename T, typename Push>
void TAction::Change(T& field, const T& value, Push push)
{
    if (value == field)
        return;
    ForEachLink([&](TActionLink& l) { (l.*push)(value); });
    field = value;
}

void TAction::SetCaption(const QString& value) { Change(FCaption, value, &TActionLink::SetCaption); }
void TAction::SetEnabled(bool value) { Change(FEnabled, value, &TActionLink::SetEnabled); }
void TAction::SetChecked(bool value) { Change(FChecked, value, &TActionLink::SetChecked); }
void TAction::SetHint(const QString& value) { Change(FHint, value, &TActionLink::SetHint); }
void TAction::SetVisible(bool value) { Change(FVisible, value, &TActionLink::SetVisible); }
void TAction::SetGroupIndex(int value) { Change(FGroupIndex, value, &TActionLink::SetGroupIndex); }

bool TAction::Execute(QObject* sender)
{
    if (!FEnabled || !OnExecute)
        return false;
    OnExecute(sender);
    return true;
}

}  // namespace platform
