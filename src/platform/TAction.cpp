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

void TAction::SetCaption(const QString& value)
{
    if (value == FCaption)
        return;
    ForEachLink([&](TActionLink& l) { l.SetCaption(value); });
    FCaption = value;
}

void TAction::SetEnabled(bool value)
{
    if (value == FEnabled)
        return;
    ForEachLink([&](TActionLink& l) { l.SetEnabled(value); });
    FEnabled = value;
}

void TAction::SetChecked(bool value)
{
    if (value == FChecked)
        return;
    ForEachLink([&](TActionLink& l) { l.SetChecked(value); });
    FChecked = value;
}

void TAction::SetHint(const QString& value)
{
    if (value == FHint)
        return;
    ForEachLink([&](TActionLink& l) { l.SetHint(value); });
    FHint = value;
}

void TAction::SetVisible(bool value)
{
    if (value == FVisible)
        return;
    ForEachLink([&](TActionLink& l) { l.SetVisible(value); });
    FVisible = value;
}

void TAction::SetGroupIndex(int value)
{
    if (value == FGroupIndex)
        return;
    ForEachLink([&](TActionLink& l) { l.SetGroupIndex(value); });
    FGroupIndex = value;
}

bool TAction::Execute(QObject* sender)
{
    if (!FEnabled || !OnExecute)
        return false;
    OnExecute(sender);
    return true;
}

}  // namespace platform
