// XML trees as movies build them: moving, inserting, removing and cloning
// nodes keeps childNodes and the links between nodes in step,
// the SWF version decides whether a node may hold its own ancestor and where
// ids are filed, and a document's properties convert what they are given.
#include <gtest/gtest.h>

#include "ScriptTraces.h"

#include <string>
#include <vector>

#include "swf/format/TagCodes.h"
#include "swf/script/TraceRun.h"
#include "swfwriter/ActionWriter.h"
#include "swfwriter/MovieWriter.h"

namespace {

using swfwriter::ActionWriter;
namespace action = swfwriter::action;

using scripttest::Play;

// Pushes the value of a dotted path of members ("x.firstChild.nodeName").
void PushPath(ActionWriter& a, std::string_view path) {
    std::size_t dot = path.find('.');
    a.Push(path.substr(0, dot)).Op(action::GetVariable);
    while (dot != std::string_view::npos) {
        const std::size_t next = path.find('.', dot + 1);
        a.Push(path.substr(dot + 1, next - dot - 1)).Op(action::GetMember);
        dot = next;
    }
}

// name = new XML(text);
void NewDocument(ActionWriter& a, std::string_view name, std::string_view text) {
    a.Push(name).Push(text).Push(1.0).Push("XML").Op(action::NewObject).Op(action::SetVariable);
}

// path.method(argument path) with its result dropped.
void CallWithPath(ActionWriter& a, std::string_view path, std::string_view method,
                  std::string_view argument) {
    PushPath(a, argument);
    a.Push(1.0);
    PushPath(a, path);
    a.Push(method).Op(action::CallMethod).Op(action::Pop);
}

void TracePath(ActionWriter& a, std::string_view path) {
    PushPath(a, path);
    a.Op(action::Trace);
}

void TraceSame(ActionWriter& a, std::string_view left, std::string_view right) {
    PushPath(a, left);
    PushPath(a, right);
    a.Op(action::Equals2).Op(action::Trace);
}

TEST(XmlClasses, AppendingMovesANodeAndChildNodesFollows) {
    ActionWriter a;
    NewDocument(a, "x", "<r><a/><b k='1' j=\"2\">t &amp; u</b></r>");
    NewDocument(a, "y", "<s/>");
    CallWithPath(a, "y.firstChild", "appendChild", "x.firstChild.firstChild");
    TracePath(a, "x");
    TracePath(a, "y");
    TracePath(a, "x.firstChild.childNodes.length");
    TraceSame(a, "x.firstChild.firstChild.previousSibling", "x.firstChild.lastChild.nextSibling");
    TraceSame(a, "y.firstChild.firstChild.parentNode", "y.firstChild");
    EXPECT_EQ(Play(8, a), (std::vector<std::string>{"<r><b j=\"2\" k=\"1\">t &amp; u</b></r>",
                                                    "<s><a /></s>", "1", "true", "true"}));
}

TEST(XmlClasses, ClonesStandApartAndInsertingAndRemovingRelinkTheTree) {
    ActionWriter a;
    NewDocument(a, "x", "<r><a><b/></a><c/></r>");
    const auto clone = [&](std::string_view name, bool deep) {
        a.Push(name).Push(deep).Push(1.0);
        PushPath(a, "x.firstChild");
        a.Push("cloneNode").Op(action::CallMethod).Op(action::SetVariable);
    };
    clone("deep", true);
    clone("shallow", false);
    TracePath(a, "deep");
    TracePath(a, "shallow");
    TracePath(a, "deep.parentNode");
    // r.insertBefore(c, a): the arguments go on the stack last first.
    PushPath(a, "x.firstChild.firstChild");
    PushPath(a, "x.firstChild.lastChild");
    a.Push(2.0);
    PushPath(a, "x.firstChild");
    a.Push("insertBefore").Op(action::CallMethod).Op(action::Pop);
    TracePath(a, "x");
    TraceSame(a, "x.firstChild.firstChild.nextSibling", "x.firstChild.lastChild");
    TracePath(a, "deep"); // the clone keeps its own children
    a.Push(0.0);
    PushPath(a, "x.firstChild.firstChild");
    a.Push("removeNode").Op(action::CallMethod).Op(action::Pop);
    TracePath(a, "x");
    TracePath(a, "x.firstChild.childNodes.length");
    TracePath(a, "x.firstChild.firstChild.previousSibling");
    EXPECT_EQ(Play(8, a), (std::vector<std::string>{"<r><a><b /></a><c /></r>", "<r />", "null",
                                                    "<r><c /><a><b /></a></r>", "true",
                                                    "<r><a><b /></a><c /></r>",
                                                    "<r><a><b /></a></r>", "1", "null"}));
}

TEST(XmlClasses, OnlyOlderMoviesMayPutANodeInsideItself) {
    ActionWriter a;
    NewDocument(a, "x", "<r><a/></r>");
    a.Push("r");
    PushPath(a, "x.firstChild");
    a.Op(action::SetVariable);
    CallWithPath(a, "r", "appendChild", "r");
    TraceSame(a, "r.lastChild", "r");
    // The loop is written once, not forever.
    TracePath(a, "r");
    EXPECT_EQ(Play(8, a), (std::vector<std::string>{"false", "<r><a /></r>"}));
    EXPECT_EQ(Play(7, a), (std::vector<std::string>{"true", "<r><a /></r>"}));
}

TEST(XmlClasses, IdsAreFiledInIdMapFromSwf8AndOnTheDocumentBefore) {
    ActionWriter a;
    NewDocument(a, "x", "<r><b id='n'/></r>");
    TraceSame(a, "x.idMap.n", "x.firstChild.firstChild");
    TraceSame(a, "x.n", "x.firstChild.firstChild");
    EXPECT_EQ(Play(8, a), (std::vector<std::string>{"true", "false"}));
    EXPECT_EQ(Play(7, a), (std::vector<std::string>{"false", "true"}));
}

TEST(XmlClasses, DocumentPropertiesConvertWhatTheyAreGiven) {
    ActionWriter a;
    NewDocument(a, "x", "<r>");
    TracePath(a, "x.status");
    const auto set = [&](std::string_view member, double value) {
        a.Push("x").Op(action::GetVariable).Push(member).Push(value).Op(action::SetMember);
    };
    set("status", -2.75);
    set("loaded", 0);
    set("xmlDecl", 5);
    TracePath(a, "x.status");
    TracePath(a, "x.loaded");
    // Set as text, written before the tree.
    TracePath(a, "x");
    EXPECT_EQ(Play(8, a), (std::vector<std::string>{"-9", "-2", "false", "5<r />"}));
}

} // namespace
