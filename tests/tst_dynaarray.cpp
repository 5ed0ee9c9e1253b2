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
        QCOMPARE(sizeof(Rec), std::size_t(28));
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
        Rec *cur = nullptr;
        TDynaArray list(sizeof(Rec), &cur);
        for (int i = 0; i < records; ++i)
            list.Add();
        QCOMPARE(list.allocatedBytes(), static_cast<std::uint32_t>(capacity) * sizeof(Rec));
    }

    void growingKeepsRecordsAndZeroesTheNewOne() {
        Rec *cur = nullptr;
        TDynaArray list(sizeof(Rec), &cur);
        for (int i = 0; i < 100; ++i) {
            list.Add();
            cur->a = i + 1;
            std::memset(cur->tag, 0xAB, sizeof cur->tag);
        }
        void *oldBlock = list.block();
        list.Add();
        QVERIFY(list.block() != oldBlock);
        QCOMPARE(list.allocatedBytes(), 200u * sizeof(Rec));
        QVERIFY(allZero(cur, sizeof(Rec)));
        for (int i = 0; i < 100; ++i)
            QCOMPARE(static_cast<Rec *>(list.GetObject(i))->a, i + 1);
    }

    void reusedSlotIsZeroAgain() {
        Rec *cur = nullptr;
        TDynaArray list(sizeof(Rec), &cur);
        list.Add();
        list.Add();
        cur->a = 7;
        std::memset(cur->tag, 0xFF, sizeof cur->tag);
        list.Delete(1);
        QVERIFY(!cur);
        void *r = list.Add();
        QVERIFY(allZero(r, sizeof(Rec)));
    }

    void shrinkingAndFreeing() {
        Rec *cur = nullptr;
        TDynaArray list(sizeof(Rec), &cur);
        for (int i = 0; i < 101; ++i) {
            list.Add();
            cur->a = i;
        }
        list.Delete(0);
        QCOMPARE(list.count(), 100u);
        QCOMPARE(list.allocatedBytes(), 100u * sizeof(Rec));
        QCOMPARE(static_cast<Rec *>(list.GetObject(99))->a, 100);
        QCOMPARE(static_cast<Rec *>(list.GetObject(0))->a, 1);
        while (list.count() > 0)
            list.Delete(0);
        QVERIFY(!list.block());
        QCOMPARE(list.allocatedBytes(), 0u);
        QVERIFY(!cur);
        QCOMPARE(list.cursorIndex(), -1);
    }

    void iterationVisitsEveryRecordOnce() {
        Rec *cur = nullptr;
        TDynaArray list(sizeof(Rec), &cur);
        for (int i = 0; i < 3; ++i) {
            list.Add();
            cur->a = i;
        }
        std::vector<int> seen;
        list.First();
        while (list.WhileNext())
            seen.push_back(cur->a);
        QCOMPARE(seen, (std::vector<int>{0, 1, 2}));
        QCOMPARE(cur->a, 2);
        QCOMPARE(list.cursorIndex(), 3);
        QVERIFY(!list.WhileNext());
    }

    void iterationOnEmptyListRunsNoBody() {
        Rec *cur = nullptr;
        TDynaArray list(sizeof(Rec), &cur);
        list.First();
        QVERIFY(!list.WhileNext());
        QVERIFY(!list.Next());
        QVERIFY(!cur);
    }

    void whileNextFalseWithoutCursorButNextMovesToFirst() {
        Rec *cur = nullptr;
        TDynaArray list(sizeof(Rec), &cur);
        for (int i = 0; i < 3; ++i) {
            list.Add();
            cur->a = i + 10;
        }
        list.Delete(2);
        QCOMPARE(list.cursorIndex(), -1);
        QVERIFY(!list.WhileNext());
        QVERIFY(list.Next());
        QCOMPARE(cur->a, 10);
        QVERIFY(list.Next());
        QCOMPARE(cur->a, 11);
        QVERIFY(!list.Next()); // at the last record
        list.Clear();
        QVERIFY(!cur);
        QVERIFY(!list.WhileNext());
        QVERIFY(!list.Next());
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
        Rec *cur = nullptr;
        TDynaArray list(sizeof(Rec), &cur);
        for (int i = 0; i < 3; ++i) {
            list.Add();
            cur->a = i;
        }
        void *r = list.Insert(at);
        QCOMPARE(r != nullptr, accepted);
        QCOMPARE(list.count(), accepted ? 4u : 3u);
        if (!accepted)
            return;
        QCOMPARE(static_cast<void *>(cur), r);
        QCOMPARE(list.cursorIndex(), at);
        QVERIFY(allZero(r, sizeof(Rec)));
        std::vector<int> order;
        for (std::uint32_t i = 0; i < list.count(); ++i)
            if (static_cast<int>(i) != at)
                order.push_back(static_cast<Rec *>(list.GetObject(i))->a);
        QCOMPARE(order, (std::vector<int>{0, 1, 2}));
    }

    void insertAcrossBlockBoundaryMovesTail() {
        Rec *cur = nullptr;
        TDynaArray list(sizeof(Rec), &cur);
        for (int i = 0; i < 100; ++i) {
            list.Add();
            cur->a = i;
        }
        list.Insert(50);
        QCOMPARE(list.allocatedBytes(), 200u * sizeof(Rec));
        QCOMPARE(static_cast<Rec *>(list.GetObject(49))->a, 49);
        QCOMPARE(static_cast<Rec *>(list.GetObject(51))->a, 50);
        QCOMPARE(static_cast<Rec *>(list.GetObject(100))->a, 99);
    }

    void changeSwapsAndLeavesSecondCurrent() {
        Rec *cur = nullptr;
        TDynaArray list(sizeof(Rec), &cur);
        list.Add();
        cur->a = 1;
        list.Add();
        cur->a = 2;
        list.Change(0, 1);
        QCOMPARE(list.cursorIndex(), 1);
        QCOMPARE(cur->a, 1);
        QCOMPARE(static_cast<Rec *>(list.GetObject(0))->a, 2);
        list.Change(0, 2); // out of range: nothing happens
        QCOMPARE(static_cast<Rec *>(list.GetObject(0))->a, 2);
        QCOMPARE(list.cursorIndex(), 0);
    }

    void deleteOutOfRangeIgnored() {
        Rec *cur = nullptr;
        TDynaArray list(sizeof(Rec), &cur);
        list.Delete(0);
        list.Add();
        list.Delete(-1);
        list.Delete(1);
        QCOMPARE(list.count(), 1u);
        QVERIFY(cur);
    }

    void withoutCursorVariableNothingIsMirrored() {
        TDynaArray list(sizeof(Rec), nullptr);
        QVERIFY(list.Add());
        QCOMPARE(list.current(), list.block());
    }

    void failedAllocationsAreReportedAndListStaysUsable_data() {
        QTest::addColumn<int>("before");  // records added before the failure
        QTest::addColumn<QString>("message");
        QTest::newRow("first block") << 0 << "Error 1 while trying to allocate 2800 bytes of RAM. Not enough memory.";
        QTest::newRow("growing") << 100 << "Error 2 while trying to allocate 5600 bytes of RAM. Not enough memory.";
    }
    void failedAllocationsAreReportedAndListStaysUsable() {
        QFETCH(int, before);
        QFETCH(QString, message);
        Rec *cur = nullptr;
        TDynaArray list(sizeof(Rec), &cur);
        for (int i = 0; i < before; ++i) {
            list.Add();
            cur->a = i;
        }
        allocationsLeft = 0;
        QVERIFY(!list.Add());
        QVERIFY(!list.Insert(0));
        QCOMPARE(list.count(), static_cast<std::uint32_t>(before));
        QCOMPARE(messages.size(), std::size_t(2));
        QCOMPARE(QString::fromStdString(messages[0]), message);
        allocationsLeft = -1;
        QVERIFY(list.Add());
        QCOMPARE(list.count(), static_cast<std::uint32_t>(before + 1));
        for (int i = 0; i < before; ++i)
            QCOMPARE(static_cast<Rec *>(list.GetObject(i))->a, i);
    }

    void failedShrinkKeepsTheLargerBlock() {
        Rec *cur = nullptr;
        TDynaArray list(sizeof(Rec), &cur);
        for (int i = 0; i < 101; ++i) {
            list.Add();
            cur->a = i;
        }
        allocationsLeft = 0;
        list.Delete(0);
        QCOMPARE(messages.size(), std::size_t(1));
        QCOMPARE(QString::fromStdString(messages[0]),
                 QString("Error 3 while trying to allocate 2800 bytes of RAM. Not enough memory."));
        QCOMPARE(list.count(), 100u);
        QCOMPARE(static_cast<Rec *>(list.GetObject(99))->a, 100);
        allocationsLeft = -1;
        QVERIFY(list.Add());
        QVERIFY(allZero(cur, sizeof(Rec)));
    }

    void blockSizeBeyondThirtyTwoBitsFails() {
        TDynaArray list(0x7FFFFFFF, nullptr);
        QVERIFY(!list.Add());
        QCOMPARE(list.count(), 0u);
        QCOMPARE(messages.size(), std::size_t(1));
        QVERIFY(QString::fromStdString(messages[0]).startsWith("Error 1 while trying to allocate 214748364700 bytes"));
    }
};

QTEST_APPLESS_MAIN(TestDynaArray)
#include "tst_dynaarray.moc"
