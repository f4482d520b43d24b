// A file loaded a piece at a time: after every pass the editor shows exactly the lines of the
// bytes so far, and at the end the same lines and range states as a whole load.

#include "EditorTestSupport.h"

#include "highlighters/jxPHPSyn.h"
#include "tests/support/LineLists.h"

#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace ondrex::test {
namespace {

struct PassRecorder {
    std::vector<int> firsts;
    void Pass(TObject*, int first) { firsts.push_back(first); }
};

class LoadInPasses : public EditorTest {
protected:
    LoadInPasses() {
        SizeFor(40, 10);
        whole.SetHighLighter(&wholePhp);
        edit.SetHighLighter(&php);
    }
    ~LoadInPasses() override {
        edit.SetHighLighter(nullptr);
        whole.SetHighLighter(nullptr);
    }

    // The next piece read into the block, copied to a larger block first when it has no room.
    void appendPiece(std::shared_ptr<std::string>& block, std::string_view piece) {
        if (block->size() + piece.size() > block->capacity()) {
            auto grown = std::make_shared<std::string>();
            grown->reserve(2 * (block->size() + piece.size()));
            grown->assign(*block);
            edit.Lines().GrowLoadedBlock(grown, grown->data(), grown->capacity());
            block = grown;
        }
        block->append(piece);
    }

    TjxPHPSyn php, wholePhp;
    TqvCustomEdit whole;
};

TEST_F(LoadInPasses, EveryPassShowsTheBytesSoFarAndTheEndEqualsAWholeLoad) {
    std::mt19937 rng(11);
    const char* pieces[] = {"\r\n", "\r", "\n", "\r\r\n", "/*", "*/", "$x", "ab", "\x1a", " "};
    for (int round = 0; round < 300; ++round) {
        std::string text;
        const int n = int(rng() % 60);
        for (int i = 0; i < n; ++i)
            text += pieces[rng() % std::size(pieces)];
        // Room for all of it, or (every third round) too little, so the block is copied.
        auto block = std::make_shared<std::string>();
        block->reserve(round % 3 ? text.size() : text.size() / 2);
        edit.Lines().BeginLoadInPasses(block, block->data(), block->capacity());
        ASSERT_EQ(edit.LineCount(), 1);
        std::size_t at = 0;
        while (at < text.size()) {
            const std::size_t piece = std::min<std::size_t>(1 + rng() % 5, text.size() - at);
            appendPiece(block, std::string_view(text).substr(at, piece));
            at += piece;
            edit.Lines().LoadPass(block->size());
            const std::vector<std::string> expected = PlainLines(text.substr(0, at));
            ASSERT_EQ(ShownLines(edit.Lines()),
                      expected.empty() ? std::vector<std::string>{""} : expected)
                << "round " << round << " after " << at << " bytes";
            // Painted down to the last line, whose state the next pass may change.
            edit.LineStartState(edit.LineCount() - 1);
        }
        edit.Lines().EndLoadInPasses(block.get());

        whole.Lines().LoadFromBlock(std::string(text));
        ASSERT_EQ(ShownLines(edit.Lines()), ShownLines(whole.Lines())) << round;
        for (int i = 0; i < whole.LineCount(); ++i)
            ASSERT_EQ(edit.LineStartState(i), whole.LineStartState(i)) << round << " line " << i;
    }
}

// The scroll range follows a line that grows piece by piece (its tabs counted once each, not
// again per piece) as a whole load of the bytes so far would give it, also when the block is
// copied to a larger one meanwhile or the tab width changes.
TEST_F(LoadInPasses, TheScrollRangeOfAGrowingLineEqualsAWholeLoadsAfterEveryPass) {
    std::mt19937 rng(5);
    std::string text = "a\tb\n\t\t\n";
    for (int i = 0; i < 900; ++i)
        text += rng() % 3 ? "\t" : "xy";
    text += "\r\n" + std::string(300, '\t') + "z";
    for (const std::size_t room : {text.size(), text.size() / 3}) {
        auto block = std::make_shared<std::string>();
        block->reserve(room);
        edit.Lines().BeginLoadInPasses(block, block->data(), block->capacity());
        for (std::size_t at = 0; at < text.size();) {
            const std::size_t piece = std::min<std::size_t>(1 + rng() % 97, text.size() - at);
            appendPiece(block, std::string_view(text).substr(at, piece));
            at += piece;
            if (at > text.size() / 2) edit.SetTabWidth(4);
            edit.Lines().LoadPass(block->size());
            whole.SetTabWidth(edit.TabWidth());
            whole.Lines().LoadFromBlock(text.substr(0, at));
            ASSERT_EQ(edit.ScrollColumns(), whole.ScrollColumns()) << room << " at " << at;
        }
        edit.Lines().EndLoadInPasses(block.get());
        edit.SetTabWidth(8);
    }
}

TEST_F(LoadInPasses, EachPassNamesTheFirstLineItChangedAndTheRecordsAreSizedOnce) {
    PassRecorder passes;
    TqvEditList list;
    list.OnLoadPass = TLineIndexEvent::bind<&PassRecorder::Pass>(&passes);
    std::string text;
    for (int i = 0; i < 200'000; ++i)
        text += "line " + std::to_string(1'000'000 + i) + "\r\n";
    auto block = std::make_shared<std::string>();
    block->reserve(text.size());
    list.BeginLoadInPasses(block, block->data(), block->capacity());
    const std::size_t piece = 64 * 1024 + 1; // pieces end inside lines and between CR and LF
    int lastCount = 1;
    for (std::size_t at = 0; at < text.size(); at += piece) {
        block->append(text, at, piece);
        list.LoadPass(block->size());
        ASSERT_EQ(passes.firsts.back(), lastCount - 1) << "the last line may have grown";
        lastCount = list.Count();
    }
    ASSERT_EQ(list.Count(), 200'000);
    EXPECT_EQ(list.Get(199'999), "line 1199999");
    // The first piece's density sizes the records for the whole file; no doubling.
    EXPECT_LT(list.MemoryUsage(), text.size() + std::size_t(200'000 * 16 * 1.25));

    // A head of empty lines before one long line does not size records for a line a byte.
    const std::string sparse = std::string(piece, '\n') + std::string(40 * piece, 'x');
    block = std::make_shared<std::string>();
    block->reserve(sparse.size());
    list.BeginLoadInPasses(block, block->data(), block->capacity());
    for (std::size_t at = 0; at < sparse.size(); at += piece) {
        block->append(sparse, at, piece);
        list.LoadPass(block->size());
    }
    ASSERT_EQ(std::size_t(list.Count()), piece + 1);
    EXPECT_LT(list.MemoryUsage(), 4 * sparse.size()); // not 16 bytes for every byte
}

} // namespace
} // namespace ondrex::test
