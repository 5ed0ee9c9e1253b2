#include "dynaarray.h"

#include <QtTest>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// 28 bytes, the size of an entry's image.
struct Rec {
    std::int32_t a;
    std::int32_t b;
    std::uint8_t tag[20];
};
static_assert(sizeof(Rec) == 28);

bool allZero(const void *p, std::size_t n) {
    const auto *b = static_cast<const std::uint8_t *>(p);
    for (std::size_t i = 0; i < n; ++i)
        if (b[i] != 0)
            return false;
    return true;
}

int allocationsLeft = -1; // -1: unlimited
void *limitedAllocator(std::size_t bytes) {
    if (allocationsLeft == 0)
        return nullptr;
    if (allocationsLeft > 0)
        --allocationsLeft;
    return std::calloc(1, bytes);
}

// A list of Rec mirrored into cur, filled with records whose field a counts up from first. Their
// other bytes are set too, so that a record the list should have zeroed shows it.
struct Recs {
    Rec *cur = nullptr;
    TDynaArray list{sizeof(Rec), &cur};
    explicit Recs(int records = 0, int first = 0) {
        for (int i = 0; i < records; ++i) {
            list.Add();
            cur->a = first + i;
            cur->b = -1;
            std::memset(cur->tag, 0xAB, sizeof cur->tag);
        }
    }
    int a(int index) { return static_cast<Rec *>(list.GetObject(static_cast<std::uint32_t>(index)))->a; }
};

} // namespace

class TestDynaArray : public QObject {
    Q_OBJECT

private:
    std::vector<std::string> messages;

private slots:
    void init() {
        messages.clear();
        setAllocationFailureHook([this](const std::string &m) { messages.push_back(m); });
        allocationsLeft = -1;
        setBlockAllocator(&limitedAllocator);
    }
    void cleanup() {
        setAllocationFailureHook({});
        setBlockAllocator(nullptr);
    }

    void addOnNewListGivesZeroedCurrentRecord() {
        Rec *cur = reinterpret_cast<Rec *>(0x1);
        TDynaArray list(sizeof(Rec), &cur);
        QCOMPARE(cur, reinterpret_cast<Rec *>(0x1)); // creating does not touch the owner's variable
        void *r = list.Add();
        QVERIFY(r);
        QCOMPARE(static_cast<void *>(cur), r);
        QCOMPARE(list.count(), 1u);
        QCOMPARE(list.cursorIndex(), 0);
        QCOMPARE(list.allocatedBytes(), 100u * sizeof(Rec));
        QVERIFY(allZero(r, sizeof(Rec)));
    }

    void capacityFollowsHundreds_data() {
        QTest::addColumn<int>("records");
        QTest::addColumn<int>("capacity");
        QTest::newRow("1") << 1 << 100;
        QTest::newRow("100") << 100 << 100;
        QTest::newRow("101") << 101 << 200;
        QTest::newRow("200") << 200 << 200;
        QTest::newRow("201") << 201 << 300;
    }
    void capacityFollowsHundreds() {
        QFETCH(int, records);
        QFETCH(int, capacity);
        Recs r(records);
        QCOMPARE(r.list.allocatedBytes(), static_cast<std::uint32_t>(capacity) * sizeof(Rec));
    }

    void growingKeepsRecordsAndZeroesTheNewOne() {
        Recs r(100, 1);
        void *oldBlock = r.list.block();
        r.list.Add();
        QVERIFY(r.list.block() != oldBlock);
        QCOMPARE(r.list.allocatedBytes(), 200u * sizeof(Rec));
        QVERIFY(allZero(r.cur, sizeof(Rec)));
        for (int i = 0; i < 100; ++i)
            QCOMPARE(r.a(i), i + 1);
    }

    void reusedSlotIsZeroAgain() {
        Recs r(2);
        r.list.Delete(1);
        QVERIFY(!r.cur);
        QVERIFY(allZero(r.list.Add(), sizeof(Rec)));
    }

    void shrinkingAndFreeing() {
        Recs r(101);
        r.list.Delete(0);
        QCOMPARE(r.list.count(), 100u);
        QCOMPARE(r.list.allocatedBytes(), 100u * sizeof(Rec));
        QCOMPARE(r.a(99), 100);
        QCOMPARE(r.a(0), 1);
        while (r.list.count() > 0)
            r.list.Delete(0);
        QVERIFY(!r.list.block());
        QCOMPARE(r.list.allocatedBytes(), 0u);
        QVERIFY(!r.cur);
        QCOMPARE(r.list.cursorIndex(), -1);
    }

    void iterationVisitsEveryRecordOnce() {
        Recs r(3);
        std::vector<int> seen;
        r.list.First();
        while (r.list.WhileNext())
            seen.push_back(r.cur->a);
        QCOMPARE(seen, (std::vector<int>{0, 1, 2}));
        QCOMPARE(r.cur->a, 2);
        QCOMPARE(r.list.cursorIndex(), 3);
        QVERIFY(!r.list.WhileNext());
    }

    void iterationOnEmptyListRunsNoBody() {
        Recs r;
        r.list.First();
        QVERIFY(!r.list.WhileNext());
        QVERIFY(!r.list.Next());
        QVERIFY(!r.cur);
    }

    void whileNextFalseWithoutCursorButNextMovesToFirst() {
        Recs r(3, 10);
        r.list.Delete(2);
        QCOMPARE(r.list.cursorIndex(), -1);
        QVERIFY(!r.list.WhileNext());
        QVERIFY(r.list.Next());
        QCOMPARE(r.cur->a, 10);
        QVERIFY(r.list.Next());
        QCOMPARE(r.cur->a, 11);
        QVERIFY(!r.list.Next()); // at the last record
        r.list.Clear();
        QVERIFY(!r.cur);
        QVERIFY(!r.list.WhileNext());
        QVERIFY(!r.list.Next());
    }

    void insertBounds_data() {
        QTest::addColumn<int>("at");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("-1") << -1 << false;
        QTest::newRow("0") << 0 << true;
        QTest::newRow("count appends") << 3 << true;
        QTest::newRow("count+1") << 4 << false;
    }
    void insertBounds() {
        QFETCH(int, at);
        QFETCH(bool, accepted);
        Recs r(3);
        void *inserted = r.list.Insert(at);
        QCOMPARE(inserted != nullptr, accepted);
        QCOMPARE(r.list.count(), accepted ? 4u : 3u);
        if (!accepted)
            return;
        QCOMPARE(static_cast<void *>(r.cur), inserted);
        QCOMPARE(r.list.cursorIndex(), at);
        QVERIFY(allZero(inserted, sizeof(Rec)));
        std::vector<int> order;
        for (int i = 0; i < 4; ++i)
            if (i != at)
                order.push_back(r.a(i));
        QCOMPARE(order, (std::vector<int>{0, 1, 2}));
    }

    void insertAcrossBlockBoundaryMovesTail() {
        Recs r(100);
        r.list.Insert(50);
        QCOMPARE(r.list.allocatedBytes(), 200u * sizeof(Rec));
        QCOMPARE(r.a(49), 49);
        QCOMPARE(r.a(51), 50);
        QCOMPARE(r.a(100), 99);
    }

    void changeSwapsAndLeavesSecondCurrent() {
        Recs r(2, 1);
        r.list.Change(0, 1);
        QCOMPARE(r.list.cursorIndex(), 1);
        QCOMPARE(r.cur->a, 1);
        QCOMPARE(r.a(0), 2);
        r.list.Change(0, 2); // out of range: nothing happens
        QCOMPARE(r.a(0), 2);
        QCOMPARE(r.list.cursorIndex(), 0);
    }

    void deleteOutOfRangeIgnored() {
        Recs r;
        r.list.Delete(0);
        r.list.Add();
        r.list.Delete(-1);
        r.list.Delete(1);
        QCOMPARE(r.list.count(), 1u);
        QVERIFY(r.cur);
    }

    void withoutCursorVariableNothingIsMirrored() {
        TDynaArray list(sizeof(Rec), nullptr);
        QVERIFY(list.Add());
        QCOMPARE(list.current(), list.block());
    }

    void failedAllocationsAreReportedAndListStaysUsable_data() {
        QTest::addColumn<int>("before"); // records added before the failure
        QTest::addColumn<QString>("message");
        QTest::newRow("first block")
            << 0 << "Error 1 while trying to allocate 2800 bytes of RAM. Not enough memory.";
        QTest::newRow("growing") << 100
                                 << "Error 2 while trying to allocate 5600 bytes of RAM. Not enough memory.";
    }
    void failedAllocationsAreReportedAndListStaysUsable() {
        QFETCH(int, before);
        QFETCH(QString, message);
        Recs r(before);
        allocationsLeft = 0;
        QVERIFY(!r.list.Add());
        QVERIFY(!r.list.Insert(0));
        QCOMPARE(r.list.count(), static_cast<std::uint32_t>(before));
        QCOMPARE(messages.size(), std::size_t(2));
        QCOMPARE(QString::fromStdString(messages[0]), message);
        allocationsLeft = -1;
        QVERIFY(r.list.Add());
        QCOMPARE(r.list.count(), static_cast<std::uint32_t>(before + 1));
        for (int i = 0; i < before; ++i)
            QCOMPARE(r.a(i), i);
    }

    void failedShrinkKeepsTheLargerBlock() {
        Recs r(101);
        allocationsLeft = 0;
        r.list.Delete(0);
        QCOMPARE(messages.size(), std::size_t(1));
        QCOMPARE(QString::fromStdString(messages[0]),
                 QString("Error 3 while trying to allocate 2800 bytes of RAM. Not enough memory."));
        QCOMPARE(r.list.count(), 100u);
        QCOMPARE(r.a(99), 100);
        allocationsLeft = -1;
        QVERIFY(r.list.Add());
        QVERIFY(allZero(r.cur, sizeof(Rec)));
    }

    void blockSizeBeyondThirtyTwoBitsFails() {
        TDynaArray list(0x7FFFFFFF, nullptr);
        QVERIFY(!list.Add());
        QCOMPARE(list.count(), 0u);
        QCOMPARE(messages.size(), std::size_t(1));
        QVERIFY(QString::fromStdString(messages[0])
                    .startsWith("Error 1 while trying to allocate 214748364700 bytes"));
    }
};

QTEST_APPLESS_MAIN(TestDynaArray)
#include "tst_dynaarray.moc"
