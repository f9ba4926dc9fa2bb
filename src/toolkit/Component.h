#pragma once
// The component model: an owner owns its children and destroys them in reverse order of
// creation; Loaded() runs once the design values are set; Notification() tells every component
// of the same owner that a component is being removed.
#include <string>
#include <vector>

#include "toolkit/Types.h"

namespace zq {

enum class TOperation { opInsert, opRemove };

class TCustomForm;
class TWinControl;

class TComponent : public TObject {
public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const { return FOwner; }
    // The component as a windowed control or as a form, or nullptr: the program is built
    // without run-time type information, so the toolkit's classes say what they are.
    virtual TWinControl* AsWinControl() { return nullptr; }
    virtual TCustomForm* AsForm() { return nullptr; }
    const std::string& Name() const { return FName; }
    void SetName(const std::string& name) { FName = name; }

    int ComponentCount() const { return static_cast<int>(FComponents.size()); }
    TComponent* Components(int index) const { return FComponents.at(index); }

    // True while the owner streams in design values (between construction and Loaded).
    bool Loading() const { return FLoading; }
    // The program has no designer; components keep their design-time branches for callers
    // that set this explicitly (tests of design-time behaviour).
    bool Designing() const { return FDesigning; }
    void SetDesigning(bool value) { FDesigning = value; }
    bool Destroying() const { return FDestroying; }

    // Frees the owned components, last-created first. Owners whose children refer back to them
    // call this at the start of their destructor, while they are still whole.
    void DestroyComponents();

    // Runs Loaded() on this component and then on every owned component, in creation order.
    void LoadedTree();
    // Marks this component and its children as loading (design values being set).
    void BeginLoading();

    // Asks `other` to tell this component when it is removed, even across owners.
    void FreeNotification(TComponent* other);
    void RemoveFreeNotification(TComponent* other);

protected:
    virtual void Loaded() { FLoading = false; }
    virtual void Notification(TComponent* component, TOperation operation);

private:
    void InsertComponent(TComponent* child);
    void RemoveComponent(TComponent* child);
    void NotifyRemoval(TComponent* removed);

    TComponent* FOwner = nullptr;
    std::string FName;
    std::vector<TComponent*> FComponents;
    std::vector<TComponent*> FFreeNotifies;
    bool FLoading = false;
    bool FDesigning = false;
    bool FDestroying = false;
};

} // namespace zq
