#pragma once
#include <QObject>
#include <QStringList>
#include <QString>
#include <functional>
#include <vector>

namespace platform {

class TAction;

// Ties one client control to an action: the action pushes every change of its properties through
// the link, and the client executes the action through it. A client overrides the Is...Linked
// rules and the setters to follow the properties it shows.
class TActionLink {
public:
    explicit TActionLink(QObject* client);
    virtual ~TActionLink();
    TActionLink(const TActionLink&) = delete;
    TActionLink& operator=(const TActionLink&) = delete;

    TAction* Action() const { return FAction; }
    // Links to the action (nullptr unlinks); the link leaves the old action's list.
    void SetAction(TAction* action);
    QObject* Client() const { return FClient; }
    // Executes the action for the client; false when there is none or it is disabled.
    bool Execute();

    virtual bool IsCaptionLinked() const { return FAction != nullptr; }
    virtual bool IsCheckedLinked() const { return FAction != nullptr; }
    virtual bool IsEnabledLinked() const { return FAction != nullptr; }
    virtual bool IsHintLinked() const { return FAction != nullptr; }
    virtual bool IsVisibleLinked() const { return FAction != nullptr; }
    virtual bool IsGroupIndexLinked() const { return FAction != nullptr; }

    // Called before the action stores the new value, so a rule may compare with the old one.
    virtual void SetCaption(const QString&) {}
    virtual void SetChecked(bool) {}
    virtual void SetEnabled(bool) {}
    virtual void SetHint(const QString&) {}
    virtual void SetVisible(bool) {}
    virtual void SetGroupIndex(int) {}

protected:
    // A derived link calls its own from its constructor (a base constructor cannot reach it).
    virtual void AssignClient(QObject* client) { FClient = client; }

private:
    friend class TAction;
    TAction* FAction = nullptr;
    QObject* FClient = nullptr;
};

// A command shared by controls: its caption, enabled, checked, hint and visible states reach
// every linked control, and executing it runs OnExecute once for whichever control asked.
class TAction : public QObject {
public:
    explicit TAction(QObject* owner = nullptr);
    ~TAction() override;

    QString Caption() const { return FCaption; }
    void SetCaption(const QString& value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    bool Checked() const { return FChecked; }
    void SetChecked(bool value);
    QString Hint() const { return FHint; }
    void SetHint(const QString& value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int value);

    // The control that executes the action, or nullptr when called directly.
    std::function<void(QObject* sender)> OnExecute;
    // Runs OnExecute when enabled and set; true when it ran.
    bool Execute(QObject* sender = nullptr);
    int LinkCount() const { return int(FLinks.size()); }

private:
    friend class TActionLink;
    template <typename F>
    void ForEachLink(F&& f);
    // Pushes a new value to every link, then stores it.
    template <typename T, typename Push>
    void Change(T& field, const T& value, Push push);
    QString FCaption, FHint;
    bool FEnabled = true, FChecked = false, FVisible = true;
    int FGroupIndex = 0;
    std::vector<TActionLink*> FLinks;
};

}  // namespace platform
