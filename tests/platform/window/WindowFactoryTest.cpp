// Child windows through the headless window factory: placed in the parent's
// client coordinates, refused without a parent host or when the child's
// creation fails, destroyed children first.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/testing/HeadlessServices.h"
#include "platform/testing/HeadlessWindowHost.h"
#include "platform/window/Window.h"

using namespace platform;
using namespace platform::testing;

namespace {

class Logged : public Window {
public:
    Logged(std::string name, std::vector<std::string>& log, bool refuse = false)
        : m_name(std::move(name))
        , m_log(log)
        , m_refuse(refuse)
    {
    }
    int OnCreate() override
    {
        m_log.push_back(m_name + " create");
        return m_refuse ? -1 : 0;
    }
    void OnDestroy() override { m_log.push_back(m_name + " destroy"); }
    void OnSize(Size client) override
    {
        m_log.push_back(m_name + " size " + std::to_string(client.width) + "x" + std::to_string(client.height));
    }

private:
    std::string m_name;
    std::vector<std::string>& m_log;
    bool m_refuse;
};

TEST(WindowFactory, ChildrenLieInTheirParentsClientAndGoBeforeIt)
{
    HeadlessServices services;
    std::vector<std::string> log;
    Logged parent("parent", log), child("child", log), grandChild("grand", log), refusing("refusing", log, true),
        orphan("orphan", log);
    HeadlessWindowHost parentHost(parent, services, { 300, 200 }, { 100, 50 });
    ASSERT_TRUE(parentHost.Create());
    WindowFactory& windows = services.Get().windows;

    ASSERT_TRUE(windows.CreateChild(parent, child, { { 20, 30, 120, 90 }, true }));
    EXPECT_EQ(child.Host(), services.windows.ChildHost(child));
    EXPECT_EQ(child.Host()->ClientToScreen({ 0, 0 }), (Point { 120, 80 }));
    EXPECT_EQ(child.Host()->ClientSize(), (Size { 100, 60 }));
    EXPECT_TRUE(services.windows.IsChildShown(child));
    EXPECT_EQ(services.windows.Parent(child), &parent);
    ASSERT_TRUE(windows.CreateChild(child, grandChild, { { 5, 5, 15, 15 }, false }));
    EXPECT_EQ(grandChild.Host()->ClientToScreen({ 1, 1 }), (Point { 126, 86 }));
    EXPECT_FALSE(services.windows.IsChildShown(grandChild));
    // A second creation of the same child, a refusing child and a parent
    // without a host give no window.
    EXPECT_FALSE(windows.CreateChild(parent, child, { { 0, 0, 10, 10 }, true }));
    EXPECT_FALSE(windows.CreateChild(parent, refusing, { { 0, 0, 10, 10 }, true }));
    EXPECT_EQ(refusing.Host(), nullptr);
    EXPECT_EQ(services.windows.ChildHost(refusing), nullptr);
    Logged unhosted("unhosted", log);
    EXPECT_FALSE(windows.CreateChild(unhosted, orphan, { { 0, 0, 10, 10 }, true }));

    windows.PlaceChild(child, { 0, 0, 50, 40 }, false);
    EXPECT_EQ(child.Host()->ClientSize(), (Size { 50, 40 }));
    EXPECT_FALSE(services.windows.IsChildShown(child));
    windows.DestroyChild(child);
    EXPECT_EQ(child.Host(), nullptr);
    EXPECT_EQ(grandChild.Host(), nullptr);
    EXPECT_EQ(log,
        (std::vector<std::string> { "parent create", "parent size 300x200", "child create", "child size 100x60",
            "grand create", "grand size 10x10", "refusing create", "child size 50x40", "grand destroy",
            "child destroy" }));
}

} // namespace
