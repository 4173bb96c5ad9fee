// Deletions that wait for the outermost operation, and temporaries handed
// to scripts that are forgotten by the outermost guard.
#include "engine/core/object_operation.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "engine/core/script_object.h"

namespace {

std::vector<std::string> g_log;

struct Doomed {
    std::string name;
    // What finishing it asks for in turn.
    Doomed* next = nullptr;
};

void finish(void* object) {
    auto* doomed = static_cast<Doomed*>(object);
    g_log.push_back(doomed->name);
    if (doomed->next) qel::ObjectOperation::deleteWhenIdle(doomed->next, &finish);
}

TEST(ObjectOperation, DeletionsWaitForTheOutermostOperationInTheOrderAsked) {
    g_log.clear();
    Doomed c{"c"};
    Doomed a{"a", &c};
    Doomed b{"b"};
    EXPECT_FALSE(qel::ObjectOperation::active());
    {
        const qel::ObjectOperation outer;
        {
            const qel::ObjectOperation inner;
            EXPECT_TRUE(qel::ObjectOperation::deleteWhenIdle(&a, &finish));
        }
        EXPECT_TRUE(g_log.empty()) << "an inner operation's end is not the end";
        EXPECT_TRUE(qel::ObjectOperation::deleteWhenIdle(&b, &finish));
        EXPECT_TRUE(qel::ObjectOperation::active());
    }
    EXPECT_EQ(g_log, (std::vector<std::string>{"a", "b", "c"}))
        << "what a deletion asks for joins the end of the line";
    EXPECT_FALSE(qel::ObjectOperation::active());

    g_log.clear();
    Doomed e{"e"};
    Doomed d{"d", &e};
    EXPECT_FALSE(qel::ObjectOperation::deleteWhenIdle(&d, &finish)) << "outside: at once";
    EXPECT_EQ(g_log, (std::vector<std::string>{"d", "e"}));
}

TEST(ObjectOperation, AnOperationLeftByAnExceptionLeavesItsDeletionsToTheNext) {
    g_log.clear();
    Doomed a{"a"};
    try {
        const qel::ObjectOperation operation;
        qel::ObjectOperation::deleteWhenIdle(&a, &finish);
        throw std::runtime_error("a Lua error unwinding");
    } catch (const std::runtime_error&) {
    }
    EXPECT_TRUE(g_log.empty());
    EXPECT_FALSE(qel::ObjectOperation::active());
    { const qel::ObjectOperation next; }
    EXPECT_EQ(g_log, (std::vector<std::string>{"a"}));
}

std::vector<const void*> g_forgotten;

TEST(ScriptTemporary, TheOutermostGuardOfAnAddressForgetsIt) {
    g_forgotten.clear();
    qel::setForgetScriptObjectHook([](const void* address) { g_forgotten.push_back(address); });
    int dice = 0;
    int other = 0;
    {
        const qel::ScriptTemporary outer(&dice);
        {
            const qel::ScriptTemporary inner(&dice);  // a nested hook handed the same dice
            const qel::ScriptTemporary second(&other);
        }
        EXPECT_EQ(g_forgotten, (std::vector<const void*>{&other}));
    }
    EXPECT_EQ(g_forgotten, (std::vector<const void*>{&other, &dice}));
    qel::setForgetScriptObjectHook(nullptr);
}

}  // namespace
