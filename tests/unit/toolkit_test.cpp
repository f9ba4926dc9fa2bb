#include <gtest/gtest.h>

#include "toolkit/Component.h"
#include "toolkit/InsertionSort.h"
#include "toolkit/Rounding.h"

#include <string>
#include <utility>
#include <vector>

using namespace zq;

TEST(StableInsertionSort, OrdersByKeyAndKeepsTheOrderOfEqualKeys) {
    // (key, original place): equal keys must keep their places' order.
    using Item = std::pair<int, int>;
    const std::vector<std::pair<std::vector<int>, std::vector<int>>> cases = {
        {{}, {}},
        {{7}, {0}},
        {{3, 2, 1, 0}, {3, 2, 1, 0}},
        {{1, 0, 1, 0, 1}, {1, 3, 0, 2, 4}},
        {{-1, 2, 2, -1, 5, 0}, {0, 3, 5, 1, 2, 4}},
    };
    for (const auto& [keys, places] : cases) {
        std::vector<Item> items;
        for (int i = 0; i < static_cast<int>(keys.size()); ++i)
            items.push_back({keys[i], i});
        StableInsertionSort(items, [](const Item& a, const Item& b) { return a.first < b.first; });
        std::vector<int> sorted;
        for (const Item& item : items)
            sorted.push_back(item.second);
        EXPECT_EQ(sorted, places) << testing::PrintToString(keys);
    }
}

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(RoundHalfEven(12.5L), 12);
    EXPECT_EQ(RoundHalfEven(37.5L), 38);
    EXPECT_EQ(RoundHalfEven(-0.5L), 0);
    EXPECT_EQ(RoundHalfEven(-1.5L), -2);
    EXPECT_EQ(RoundHalfEven(31.68L), 32);
    EXPECT_EQ(RoundHalfEven(99.9L), 100);
    EXPECT_EQ(RoundHalfEven(-0.6L), -1);
    EXPECT_EQ(RoundHalfEven(0.125L * 100), 12);
    EXPECT_EQ(RoundHalfEven(0.375L * 100), 38);
    EXPECT_EQ(RoundHalfEven(1e30L), INT64_MAX);
}

namespace {
struct Probe : TComponent {
    Probe(TComponent* owner, std::vector<std::string>* log, std::string name)
        : TComponent(owner), log(log) {
        SetName(std::move(name));
    }
    ~Probe() override { log->push_back("free " + Name()); }
    void Loaded() override {
        TComponent::Loaded();
        log->push_back("loaded " + Name());
    }
    void Notification(TComponent* c, TOperation op) override {
        TComponent::Notification(c, op);
        if (op == TOperation::opRemove)
            log->push_back(Name() + " saw removal of " + c->Name());
    }
    std::vector<std::string>* log;
};
} // namespace

TEST(Component, OwnerFreesChildrenInReverseOrderAndNotifiesSiblings) {
    std::vector<std::string> log;
    auto* root = new Probe(nullptr, &log, "root");
    new Probe(root, &log, "a");
    new Probe(root, &log, "b");
    EXPECT_EQ(root->ComponentCount(), 2);
    root->LoadedTree();
    EXPECT_EQ(log, (std::vector<std::string>{"loaded a", "loaded b", "loaded root"}));
    log.clear();
    delete root;
    // The owner's own destructor body runs first; its children go last-created first.
    EXPECT_EQ(log,
              (std::vector<std::string>{"free root", "free b", "a saw removal of b", "free a"}));
}

TEST(Component, DestroyComponentsFreesChildrenWhileTheOwnerIsWhole) {
    std::vector<std::string> log;
    Probe root(nullptr, &log, "root");
    new Probe(&root, &log, "a");
    new Probe(&root, &log, "b");
    root.DestroyComponents();
    EXPECT_EQ(log,
              (std::vector<std::string>{"free b", "root saw removal of b", "a saw removal of b",
                                        "free a", "root saw removal of a"}));
    EXPECT_EQ(root.ComponentCount(), 0);
}

TEST(Component, DeletingAChildRemovesItFromItsOwner) {
    std::vector<std::string> log;
    Probe root(nullptr, &log, "root");
    auto* a = new Probe(&root, &log, "a");
    Probe* b = new Probe(&root, &log, "b");
    delete a;
    ASSERT_EQ(root.ComponentCount(), 1);
    EXPECT_EQ(root.Components(0), b);
}

TEST(Component, FreeNotificationReachesAcrossOwners) {
    std::vector<std::string> log;
    Probe ownerA(nullptr, &log, "A");
    Probe ownerB(nullptr, &log, "B");
    auto* watcher = new Probe(&ownerA, &log, "watcher");
    auto* watched = new Probe(&ownerB, &log, "watched");
    watcher->FreeNotification(watched);
    delete watched;
    EXPECT_NE(std::find(log.begin(), log.end(), "watcher saw removal of watched"), log.end());
}
