#include "editor/TqvEditList.h"
#include "platform/TextFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace ondrex {
namespace {

using namespace std::string_literals;

// Stands in for the editor: binds all seven notifications and the list's own changing and
// changed events, and writes down what it hears, in order.
class Recorder {
public:
    explicit Recorder(TqvEditList& l) : list(l) {
        list.OnAdded = TNotifyEvent::bind<&Recorder::Added>(this);
        list.OnCleared = TNotifyEvent::bind<&Recorder::Cleared>(this);
        list.OnDeleted = TLineIndexEvent::bind<&Recorder::Deleted>(this);
        list.OnInserted = TLineIndexEvent::bind<&Recorder::Inserted>(this);
        list.OnTextReplaced = TNotifyEvent::bind<&Recorder::TextReplaced>(this);
        list.OnLineChanged = TLineIndexEvent::bind<&Recorder::LineChanged>(this);
        list.OnBulkAdded = TNotifyEvent::bind<&Recorder::BulkAdded>(this);
        list.OnChanging = TNotifyEvent::bind<&Recorder::Changing>(this);
        list.OnChange = TNotifyEvent::bind<&Recorder::Changed>(this);
    }
    void Added(TObject* s) { log("added", s); }
    void Cleared(TObject* s) { log("cleared", s); }
    void Deleted(TObject* s, int i) { log("deleted " + std::to_string(i), s); }
    void Inserted(TObject* s, int i) { log("inserted " + std::to_string(i), s); }
    void TextReplaced(TObject* s) {
        log("replaced", s);
        if (addLineOnReplace) list.Add("");
    }
    void LineChanged(TObject* s, int i) { log("changed " + std::to_string(i), s); }
    void BulkAdded(TObject* s) { log("bulk", s); }
    void Changing(TObject* s) { log("{", s); }
    void Changed(TObject* s) { log("}", s); }

    // Without the list's own changing/changed brackets.
    std::vector<std::string> notifications() const {
        std::vector<std::string> out;
        for (const auto& e : events)
            if (e != "{" && e != "}") out.push_back(e);
        return out;
    }

    TqvEditList& list;
    std::vector<std::string> events;
    bool addLineOnReplace = false;

private:
    void log(std::string what, TObject* sender) {
        EXPECT_EQ(sender, &list);
        events.push_back(std::move(what));
    }
};

std::vector<std::string> linesOf(const TqvEditList& l) {
    std::vector<std::string> out;
    for (int i = 0; i < l.Count(); ++i)
        out.emplace_back(l.Get(i));
    return out;
}

using Lines = std::vector<std::string>;

void setText(TqvEditList& l, const std::string& text) {
    l.BeginLoading();
    l.SetText(text);
    l.EndLoading();
}

TEST(TqvEditList, StartsEmptyUntilTheFirstAdd) {
    TqvEditList l;
    EXPECT_EQ(l.Count(), 0);
    EXPECT_EQ(l.LoadingCount(), 0);
    EXPECT_EQ(l.Add("a"), 0);
    EXPECT_EQ(l.Add("b"), 1);
    EXPECT_EQ(linesOf(l), (Lines{"a", "b"}));
    EXPECT_EQ(l.GetObject(1), nullptr);
}

TEST(TqvEditList, EachChangeIsBracketedByTheListsOwnChangingAndChangedEvents) {
    TqvEditList l;
    l.Add("x");
    Recorder r(l);
    l.Add("a");
    l.Insert(0, "b");
    l.Put(1, "c");
    l.Delete(2);
    EXPECT_EQ(r.events, (Lines{"{", "added", "}", "{", "inserted 0", "}", "{", "changed 1", "}",
                               "{", "deleted 2", "}"}));
    EXPECT_EQ(linesOf(l), (Lines{"b", "c"}));
}

TEST(TqvEditList, ChangingAndChangedComeOnlyFromTheOutermostUpdate) {
    TqvEditList l;
    Recorder r(l);
    l.BeginUpdate();
    l.BeginUpdate();
    l.Add("a");
    l.EndUpdate();
    EXPECT_EQ(r.events, (Lines{"{", "added"}));
    l.EndUpdate();
    l.EndUpdate(); // unbalanced: nothing
    EXPECT_EQ(r.events, (Lines{"{", "added", "}"}));
    EXPECT_EQ(l.UpdateCount(), 0);
}

TEST(TqvEditList, ClearLeavesExactlyOneEmptyLineAndReportsClearedThenAdded) {
    TqvEditList l;
    l.Add("a");
    l.Add("b");
    Recorder r(l);
    l.Clear();
    EXPECT_EQ(linesOf(l), (Lines{""}));
    EXPECT_EQ(r.events, (Lines{"cleared", "{", "}", "{", "added", "}"}));

    TqvEditList fresh;
    Recorder f(fresh);
    fresh.Clear();
    EXPECT_EQ(linesOf(fresh), (Lines{""}));
    EXPECT_EQ(f.events, (Lines{"cleared", "{", "added", "}"}));
}

TEST(TqvEditList, ClearDuringABulkLoadMayLeaveTheListEmpty) {
    TqvEditList l;
    l.Add("a");
    l.BeginLoading();
    l.Clear();
    EXPECT_EQ(l.Count(), 0);
    Recorder r(l);
    l.EndLoading();
    EXPECT_EQ(linesOf(l), (Lines{""}));
    EXPECT_EQ(r.notifications(), (Lines{"added"}));
}

TEST(TqvEditList, DeleteOfTheOnlyLineEmptiesItAndStillReportsDeleted) {
    TqvEditList l;
    l.Add("only");
    int slot = 7;
    l.PutObject(0, &slot);
    Recorder r(l);
    l.Delete(0);
    EXPECT_EQ(linesOf(l), (Lines{""}));
    EXPECT_EQ(l.GetObject(0), &slot); // the plain replace keeps the data slot
    EXPECT_EQ(r.events, (Lines{"{", "deleted 0", "}"}));
}

TEST(TqvEditList, DeleteOfLineZeroOfTwoRemovesIt) {
    TqvEditList l;
    l.Add("a");
    l.Add("b");
    l.Delete(0);
    EXPECT_EQ(linesOf(l), (Lines{"b"}));
}

TEST(TqvEditList, PutKeepsTheDataSlotWhileInsertAndAddStartWithNull) {
    TqvEditList l;
    int a = 1, b = 2;
    l.Add("a");
    l.Add("b");
    l.PutObject(0, &a);
    l.PutObject(1, &b);
    l.Put(0, "A");
    EXPECT_EQ(l.GetObject(0), &a);
    l.Insert(1, "new");
    EXPECT_EQ(l.GetObject(1), nullptr);
    EXPECT_EQ(l.GetObject(2), &b);
    EXPECT_EQ(linesOf(l), (Lines{"A", "new", "b"}));
    l.Insert(3, "end"); // at Count: appends
    EXPECT_EQ(l.Get(3), "end");
}

TEST(TqvEditList, IndicesOutsideTheListRaiseAnError) {
    TqvEditList l;
    l.Add("a");
    EXPECT_THROW(l.Get(1), EStringListError);
    EXPECT_THROW(l.Get(-1), EStringListError);
    EXPECT_THROW(l.Put(1, "x"), EStringListError);
    EXPECT_THROW(l.Delete(1), EStringListError);
    EXPECT_THROW(l.Insert(2, "x"), EStringListError);
    EXPECT_THROW(l.PutObject(5, nullptr), EStringListError);
    try {
        l.Get(9);
    } catch (const EStringListError& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (9)");
    }
    EXPECT_EQ(linesOf(l), (Lines{"a"}));
}

TEST(TqvEditList, SetTextSplitsAtCrAtLfAndAtCrLfTakenAsOneBreak) {
    TqvEditList l;
    setText(l, "a\r\nb\nc\rd");
    EXPECT_EQ(linesOf(l), (Lines{"a", "b", "c", "d"}));
    setText(l, "a\r\n");
    EXPECT_EQ(linesOf(l), (Lines{"a"}));
    setText(l, "a\r\n\r\n");
    EXPECT_EQ(linesOf(l), (Lines{"a", ""}));
    setText(l, "a\r\r\nb\n\rc");
    EXPECT_EQ(linesOf(l), (Lines{"a", "", "b", "", "c"}));
    setText(l, "\n");
    EXPECT_EQ(linesOf(l), (Lines{""}));
    setText(l, "\r");
    EXPECT_EQ(linesOf(l), (Lines{""}));
}

TEST(TqvEditList, SetTextKeepsNulAndCtrlZBytes) {
    // On purpose (ARCHITECTURE.md, "Decided behaviour"): a NUL byte does not end the text.
    TqvEditList l;
    setText(l, "a\0b\r\n\0\r\nc\x1a"s);
    EXPECT_EQ(linesOf(l), (Lines{"a\0b"s, "\0"s, "c\x1a"}));
}

TEST(TqvEditList, SetTextRaisesClearedAddedPerLineAndReplaced) {
    TqvEditList l;
    l.Add("old");
    Recorder r(l);
    l.BeginLoading();
    l.SetText("x\ny");
    l.EndLoading();
    EXPECT_EQ(r.events, (Lines{"{", "cleared", "added", "added", "replaced", "}"}));
    EXPECT_EQ(linesOf(l), (Lines{"x", "y"}));
}

TEST(TqvEditList, SetTextOutsideABulkLoadKeepsTheEmptyLineThatClearAdded) {
    // Clear's empty-list rule adds a line, so callers wrap SetText in
    // BeginLoading/EndLoading; without, that line stays in front.
    TqvEditList l;
    l.SetText("a\nb");
    EXPECT_EQ(linesOf(l), (Lines{"", "a", "b"}));
}

TEST(TqvEditList, SetTextOfAnEmptyBlockInsideALoadLeavesOneEmptyLineAfterwards) {
    TqvEditList l;
    l.Add("a");
    l.BeginLoading();
    l.SetText("");
    EXPECT_EQ(l.Count(), 0);
    l.EndLoading();
    EXPECT_EQ(linesOf(l), (Lines{""}));
}

TEST(TqvEditList, LoadFromStreamOfAnEmptyStream) {
    TqvEditList l;
    l.Add("a");
    Recorder r(l);
    std::istringstream empty("");
    l.LoadFromStream(empty);
    EXPECT_EQ(r.events, (Lines{"{", "cleared", "replaced", "bulk", "added", "}"}));
    EXPECT_EQ(linesOf(l), (Lines{""}));
    EXPECT_EQ(l.LoadingCount(), 0);
}

TEST(TqvEditList, LoadFromStreamWithAnEditorThatAddsTheEmptyLineItself) {
    TqvEditList l;
    l.Add("a");
    Recorder r(l);
    r.addLineOnReplace = true; // as the editor's OnTextReplaced receiver does
    std::istringstream empty("");
    l.LoadFromStream(empty);
    EXPECT_EQ(r.notifications(), (Lines{"cleared", "replaced", "bulk"}));
    EXPECT_EQ(linesOf(l), (Lines{""}));
    EXPECT_TRUE(l.OnAdded); // attached again afterwards
}

TEST(TqvEditList, LoadFromStreamRaisesBulkAddedOnceAndNoAdded) {
    TqvEditList l;
    Recorder r(l);
    std::istringstream s("a\r\nb");
    l.LoadFromStream(s);
    EXPECT_EQ(linesOf(l), (Lines{"a", "b"}));
    EXPECT_EQ(r.events, (Lines{"{", "cleared", "replaced", "bulk", "}"}));
}

TEST(TqvEditList, LoadFromStreamWithoutABulkReceiverAddsLineByLine) {
    TqvEditList l;
    Recorder r(l);
    l.OnBulkAdded = TNotifyEvent();
    std::istringstream s("a\nb\n");
    l.LoadFromStream(s);
    EXPECT_EQ(r.notifications(), (Lines{"cleared", "added", "added", "replaced"}));
    EXPECT_EQ(linesOf(l), (Lines{"a", "b"}));
}

TEST(TqvEditList, AddStringsAppendsTextWithoutDataSlotsAndRaisesBulkAddedEvenWhenEmpty) {
    TqvEditList source, l;
    int slot = 0;
    source.Add("s1");
    source.Add("s2");
    source.PutObject(0, &slot);
    l.Add("a");
    Recorder r(l);
    l.AddStrings(source);
    EXPECT_EQ(linesOf(l), (Lines{"a", "s1", "s2"}));
    EXPECT_EQ(l.GetObject(1), nullptr);
    EXPECT_EQ(r.events, (Lines{"{", "bulk", "}"}));

    TqvEditList none;
    r.events.clear();
    l.AddStrings(none);
    EXPECT_EQ(r.events, (Lines{"{", "bulk", "}"}));
    EXPECT_EQ(l.Count(), 3);
}

TEST(TqvEditList, AddStringsSharesTheLoadedBlockAndSurvivesTheSource) {
    auto target = std::make_unique<TqvEditList>();
    {
        TqvEditList source;
        source.BeginLoading();
        source.SetText(std::string("one\ntwo\nthree"));
        source.EndLoading();
        source.Put(1, "TWO");
        target->BeginLoading();
        target->AddStrings(source);
        target->EndLoading();
    }
    EXPECT_EQ(linesOf(*target), (Lines{"one", "TWO", "three"}));
}

TEST(TqvEditList, AssignCopiesTheSourceAndFillsAnEmptyResult) {
    TqvEditList source, l;
    source.Add("a");
    source.Add("b");
    l.Add("old");
    Recorder r(l);
    l.Assign(source);
    EXPECT_EQ(linesOf(l), (Lines{"a", "b"}));
    EXPECT_EQ(r.notifications(), (Lines{"cleared", "bulk"}));
    EXPECT_EQ(l.LoadingCount(), 0);

    TqvEditList empty;
    l.Assign(empty);
    EXPECT_EQ(linesOf(l), (Lines{""}));
}

TEST(TqvEditList, NestedLoadingFillsOnlyAtTheOutermostEndLoading) {
    TqvEditList l;
    l.BeginLoading();
    l.BeginLoading();
    l.Clear();
    l.EndLoading();
    EXPECT_EQ(l.Count(), 0);
    EXPECT_EQ(l.LoadingCount(), 1);
    l.EndLoading();
    EXPECT_EQ(linesOf(l), (Lines{""}));
    l.EndLoading(); // without a matching BeginLoading: nothing
    EXPECT_EQ(l.LoadingCount(), 0);
    EXPECT_EQ(l.Count(), 1);
}

TEST(TqvEditList, GetTextJoinsWithCrLf) {
    TqvEditList l;
    EXPECT_EQ(l.GetText(), "");
    l.Add("a");
    EXPECT_EQ(l.GetText(), "a");
    l.Add("");
    l.Add("c");
    EXPECT_EQ(l.GetText(), "a\r\n\r\nc");
}

TEST(TqvEditList, ChangesMayUseTheListsOwnTextAsTheirArgument) {
    TqvEditList l;
    setText(l, "first line of some length\nsecond");
    l.Put(1, l.Get(0));
    l.Insert(0, l.Get(1));
    l.Put(0, l.Get(0).substr(6));
    l.Add(l.Get(2));
    EXPECT_EQ(linesOf(l), (Lines{"line of some length", "first line of some length",
                                 "first line of some length", "first line of some length"}));
}

TEST(TqvEditList, LoadFromFileKeepsEveryByte) {
    std::string path = ::testing::TempDir() + std::to_string(getpid()) + "_editlist_load.txt";
    std::string bytes = "Function a()\r\n\0x\r\n\x1a\rlast"s;
    {
        std::ofstream f(path, std::ios::binary);
        f << bytes;
    }
    TqvEditList l;
    Recorder r(l);
    l.LoadFromFile(path);
    EXPECT_EQ(linesOf(l), (Lines{"Function a()", "\0x"s, "\x1a", "last"}));
    EXPECT_EQ(r.notifications(), (Lines{"cleared", "replaced", "bulk"}));
    std::remove(path.c_str());
}

TEST(TqvEditList, LoadFromAMissingFileThrowsAndChangesNothing) {
    TqvEditList l;
    l.Add("kept");
    Recorder r(l);
    EXPECT_THROW(l.LoadFromFile("/nonexistent/dir/file.asp"), EFileError);
    EXPECT_EQ(linesOf(l), (Lines{"kept"}));
    EXPECT_TRUE(r.events.empty());
    EXPECT_EQ(l.LoadingCount(), 0);
}

TEST(TqvEditList, AnExceptionFromAReceiverStillEndsTheUpdateAndTheLoad) {
    struct Thrower {
        void Bulk(TObject*) { throw std::runtime_error("receiver failed"); }
    } thrower;
    TqvEditList l;
    l.OnBulkAdded = TNotifyEvent::bind<&Thrower::Bulk>(&thrower);
    std::istringstream s("a\nb");
    EXPECT_THROW(l.LoadFromStream(s), std::runtime_error);
    EXPECT_EQ(l.UpdateCount(), 0);
    EXPECT_EQ(l.LoadingCount(), 0);
    EXPECT_EQ(linesOf(l), (Lines{"a", "b"}));
    EXPECT_THROW(l.AddStrings(l), std::runtime_error);
    EXPECT_EQ(l.UpdateCount(), 0);
}

TEST(TqvEditList, ALargeLoadCostsTheFileAndEightBytesALineUntilDataSlotsAreSet) {
    std::string block;
    const int n = 200000;
    for (int i = 0; i < n; ++i)
        block += "  x = x + " + std::to_string(i) + "\r\n";
    block.shrink_to_fit();
    const std::size_t size = block.size();
    TqvEditList l;
    l.LoadFromBlock(std::move(block));
    ASSERT_EQ(l.Count(), n);
    EXPECT_EQ(l.Get(n - 1), "  x = x + " + std::to_string(n - 1));
    EXPECT_LE(l.MemoryUsage(), size + 8 * std::size_t(n) + 4096);
    EXPECT_EQ(l.GetObject(n - 1), nullptr);
    l.PutObject(n - 1, &l);
    EXPECT_EQ(l.GetObject(n - 1), &l);
    EXPECT_EQ(l.GetObject(0), nullptr);
    EXPECT_LE(l.MemoryUsage(), size + 16 * std::size_t(n) + 4096);
}

// Random operations against a plain model: the gap buffer, the views into the loaded block
// and the changed lines must always read back as the model does.
TEST(TqvEditList, RandomEditsMatchAPlainModel) {
    std::mt19937 rng(12345);
    for (int round = 0; round < 20; ++round) {
        TqvEditList l;
        std::vector<std::string> text;
        std::vector<void*> objects;
        std::string block;
        int initial = int(rng() % 50);
        for (int i = 0; i < initial; ++i) {
            text.push_back("line" + std::to_string(i));
            block += text.back() + (i % 3 == 0 ? "\r\n" : i % 3 == 1 ? "\n" : "\r");
        }
        l.LoadFromBlock(std::string(block));
        if (text.empty()) text.push_back("");
        objects.assign(text.size(), nullptr);
        static int slots[8];
        for (int step = 0; step < 400; ++step) {
            int n = int(text.size());
            int op = int(rng() % 7);
            int i = n ? int(rng() % unsigned(n)) : 0;
            std::string s = "t" + std::to_string(rng() % 1000) + std::string(rng() % 20, 'z');
            switch (op) {
            case 0:
                l.Insert(i, s);
                text.insert(text.begin() + i, s);
                objects.insert(objects.begin() + i, nullptr);
                break;
            case 1:
                l.Delete(i);
                if (n == 1) {
                    text[0].clear();
                } else {
                    text.erase(text.begin() + i);
                    objects.erase(objects.begin() + i);
                }
                break;
            case 2:
                l.Put(i, s);
                text[i] = s;
                break;
            case 3:
                l.Add(s);
                text.push_back(s);
                objects.push_back(nullptr);
                break;
            case 4: { // small values (range states) first; in odd rounds later pointers too
                void* o = round % 2 == 0 || step < 200
                              ? reinterpret_cast<void*>(std::uintptr_t(rng() % 256))
                              : &slots[step % 8];
                l.PutObject(i, o);
                objects[i] = o;
                break;
            }
            case 5: {
                int j = n ? int(rng() % unsigned(n)) : 0;
                l.Put(i, l.Get(j)); // aliasing
                text[i] = text[j];
                break;
            }
            case 6: { // lines of another list's block, their slots empty
                TqvEditList other;
                other.LoadFromBlock("a\r\n" + s + "\rb");
                l.AddStrings(other);
                text.insert(text.end(), {"a", s, "b"});
                objects.insert(objects.end(), 3, nullptr);
                break;
            }
            }
            ASSERT_EQ(l.Count(), int(text.size()));
        }
        for (int i = 0; i < l.Count(); ++i) {
            ASSERT_EQ(l.Get(i), text[i]) << i;
            ASSERT_EQ(l.GetObject(i), objects[i]) << i;
        }
    }
}

} // namespace
} // namespace ondrex
