// The game messages: the block layout every machine must agree on, and a
// hostile peer's values refused before anything uses them.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "net/game_messages.h"

namespace {

GameMessageContext Context() {
    GameMessageContext context;
    context.localPlayer = 0;
    context.lastPlayer = 2;
    context.level = 3;
    context.sizeX = 10;
    context.sizeY = 5;
    context.sizeZ = 8;
    context.sentryCount = 2;
    context.takeLetter[7] = 'g';  // an ingot
    context.takeLetter[40] = 'h'; // a timer
    return context;
}

std::int32_t IntAt(const GameMessageBytes& bytes, std::size_t at) {
    return static_cast<std::int32_t>(bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
                                     static_cast<std::uint32_t>(bytes[at + 3]) << 24);
}

void PutInt(GameMessageBytes& bytes, std::size_t at, std::int32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> (8 * i));
}

PlayerStateMessage State() {
    PlayerStateMessage state;
    state.player = 1;
    state.level = 3;
    state.x = 1000.9f;
    state.y = -256.5f;
    state.z = 3000;
    state.heading = 8192;
    state.vx = -3.7f;
    state.turnRate = 12;
    state.pose = 10;
    state.poseBlendMs = 250;
    return state;
}

WorldEventMessage Event(char letter, std::int32_t argument) {
    return {2, letter, 3, 9, 4, 7, argument};
}

} // namespace

TEST(GameMessages, EveryMessageReadsBackAsSent) {
    const GameMessageContext context = Context();
    const auto back = [&](const GameMessage& message) {
        const auto decoded = DecodeGameMessage(EncodeGameMessage(message), context);
        EXPECT_TRUE(decoded.message) << IgnoreReasonName(decoded.reason);
        return decoded.message.value_or(GameMessage{});
    };
    const auto start = std::get<GameStartMessage>(back(GameStartMessage{2, 2, 24}));
    EXPECT_EQ(start.localPlayer, 2);
    EXPECT_EQ(start.lastPlayer, 2);
    EXPECT_EQ(start.refreshInterval, 24);

    const auto state = std::get<PlayerStateMessage>(back(State()));
    EXPECT_EQ(state.player, 1);
    EXPECT_EQ(state.x, 1000); // truncated toward zero
    EXPECT_EQ(state.y, -256);
    EXPECT_EQ(state.vx, -3);
    EXPECT_EQ(state.heading, 8192);
    EXPECT_EQ(state.turnRate, 12);
    EXPECT_EQ(state.pose, 10);
    EXPECT_EQ(state.poseBlendMs, 250);

    const auto event = std::get<WorldEventMessage>(back(Event('d', 3600000)));
    EXPECT_EQ(event.letter, 'd');
    EXPECT_EQ(event.cellX, 9);
    EXPECT_EQ(event.cellY, 4);
    EXPECT_EQ(event.cellZ, 7);
    EXPECT_EQ(event.argument, 3600000);
    EXPECT_EQ(std::get<WorldEventMessage>(back(Event('g', 7))).argument, 7);

    const auto sentry =
        std::get<SentryPositionMessage>(back(SentryPositionMessage{2, 3, 512, 0, -512, 100}));
    EXPECT_EQ(sentry.sentry, 2);
    EXPECT_EQ(sentry.z, -512);
    EXPECT_TRUE(std::holds_alternative<StartRequestMessage>(back(StartRequestMessage{})));
    EXPECT_TRUE(std::holds_alternative<StartAnswerMessage>(back(StartAnswerMessage{})));
}

TEST(GameMessages, BlocksHaveTheAgreedLayoutWithUnusedBytesZero) {
    const auto start = EncodeGameMessage(GameStartMessage{1, 3, 24});
    EXPECT_EQ(IntAt(start, 0), 10);
    EXPECT_EQ(start[4], 1);
    EXPECT_EQ(start[5], 3);
    EXPECT_EQ(IntAt(start, 8), 24);
    for (std::size_t i = 12; i < start.size(); ++i) ASSERT_EQ(start[i], 0) << i;
    EXPECT_EQ(start[6] | start[7], 0);

    // The level index rides in bytes 6 and 7 of 11, 12 and 16.
    PlayerStateMessage state = State();
    state.level = 0x1234;
    const auto stateBytes = EncodeGameMessage(state);
    EXPECT_EQ(stateBytes[6], 0x34);
    EXPECT_EQ(stateBytes[7], 0x12);
    EXPECT_EQ(IntAt(stateBytes, 40), 10);
    EXPECT_EQ(IntAt(stateBytes, 44), 250);
    for (std::size_t i = 48; i < stateBytes.size(); ++i) ASSERT_EQ(stateBytes[i], 0) << i;
    const auto eventBytes = EncodeGameMessage(Event('f', 0));
    EXPECT_EQ(eventBytes[5], 'f');
    EXPECT_EQ(eventBytes[6], 3);
    const auto sentryBytes = EncodeGameMessage(SentryPositionMessage{1, 3, 0, 0, 0, 0});
    EXPECT_EQ(IntAt(sentryBytes, 0), 16);
    EXPECT_EQ(sentryBytes[6], 3);

    EXPECT_EQ(DeliveryOf(State()), NetDelivery::Unreliable);
    EXPECT_EQ(DeliveryOf(SentryPositionMessage{}), NetDelivery::Unreliable);
    for (const GameMessage& reliable :
         {GameMessage{GameStartMessage{}}, GameMessage{Event('d', 0)},
          GameMessage{StartRequestMessage{}}, GameMessage{StartAnswerMessage{}}})
        EXPECT_EQ(DeliveryOf(reliable), NetDelivery::Reliable);
}

TEST(GameMessages, RealsThatDoNotFitAnIntegerSaturate) {
    PlayerStateMessage state = State();
    state.x = std::numeric_limits<float>::quiet_NaN();
    state.y = 1e20f;
    state.z = -1e20f;
    state.heading = std::numeric_limits<float>::infinity();
    const auto bytes = EncodeGameMessage(state);
    EXPECT_EQ(IntAt(bytes, 8), 0);
    EXPECT_EQ(IntAt(bytes, 12), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(IntAt(bytes, 16), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(IntAt(bytes, 20), std::numeric_limits<std::int32_t>::max());
}

// One crafted message per hostile field: each is ignored for its reason.
TEST(GameMessages, HostileValuesAreIgnoredWithTheirReason) {
    struct Case {
        const char* what;
        GameMessage base;
        std::function<void(GameMessageBytes&)> craft;
        IgnoreReason reason;
    };
    const auto set8 = [](std::size_t at, int value) {
        return [=](GameMessageBytes& b) { b[at] = static_cast<std::uint8_t>(value); };
    };
    const auto setInt = [](std::size_t at, std::int32_t value) {
        return [=](GameMessageBytes& b) { PutInt(b, at, value); };
    };
    const GameMessage start = GameStartMessage{1, 2, 24};
    const GameMessage state = State();
    const GameMessage dig = Event('d', 10000);
    const GameMessage take = Event('g', 7);
    const GameMessage sentry = SentryPositionMessage{1, 3, 0, 0, 0, 0};
    const std::vector<Case> cases = {
        {"type 3 is no join", state, setInt(0, 3), IgnoreReason::UnknownType},
        {"type 5 is no leave", state, setInt(0, 5), IgnoreReason::UnknownType},
        {"unknown type", state, setInt(0, 15), IgnoreReason::UnknownType},
        {"player above lastPlayer", state, set8(4, 3), IgnoreReason::BadPlayer},
        {"player is the receiver", state, set8(4, 0), IgnoreReason::BadPlayer},
        {"event from the receiver", dig, set8(4, 0), IgnoreReason::BadPlayer},
        {"lastPlayer 0", start, set8(5, 0), IgnoreReason::BadLastPlayer},
        {"lastPlayer 5", start, set8(5, 5), IgnoreReason::BadLastPlayer},
        {"receiver numbered as host", start, set8(4, 0), IgnoreReason::BadLastPlayer},
        {"receiver above lastPlayer", start, set8(4, 3), IgnoreReason::BadLastPlayer},
        {"refresh negative", start, setInt(8, -1), IgnoreReason::BadRefresh},
        {"refresh above 10 s", start, setInt(8, 10001), IgnoreReason::BadRefresh},
        {"pose 11", state, setInt(40, 11), IgnoreReason::BadPose},
        {"pose negative", state, setInt(40, -1), IgnoreReason::BadPose},
        {"blend time negative", state, setInt(44, -250), IgnoreReason::BadBlendTime},
        {"letter c", dig, set8(5, 'c'), IgnoreReason::BadLetter},
        {"letter k", dig, set8(5, 'k'), IgnoreReason::BadLetter},
        {"cell x negative", dig, setInt(8, -1), IgnoreReason::BadCell},
        {"cell x at the size", dig, setInt(8, 10), IgnoreReason::BadCell},
        {"cell y overflowing 512y+256", dig, setInt(12, 0x7FFFFFFF), IgnoreReason::BadCell},
        {"cell z below int range", dig, setInt(16, std::numeric_limits<std::int32_t>::min()),
         IgnoreReason::BadCell},
        {"dig delay negative", dig, setInt(20, -1), IgnoreReason::BadDelay},
        {"dig delay above an hour", dig, setInt(20, 3600001), IgnoreReason::BadDelay},
        {"object type 256", take, setInt(20, 256), IgnoreReason::BadObjectType},
        {"object type negative", take, setInt(20, -1), IgnoreReason::BadObjectType},
        {"object type undefined", take, setInt(20, 8), IgnoreReason::BadObjectType},
        {"ingot taken as a timer", take, set8(5, 'h'), IgnoreReason::BadObjectType},
        {"sentry 0", sentry, set8(4, 0), IgnoreReason::BadSentry},
        {"sentry above the count", sentry, set8(4, 3), IgnoreReason::BadSentry},
        {"state of another level", state, set8(6, 4), IgnoreReason::OtherLevel},
        {"event of another level", dig, set8(7, 1), IgnoreReason::OtherLevel},
        {"sentry of another level", sentry, set8(6, 2), IgnoreReason::OtherLevel},
    };
    GameMessageCounters counters;
    for (const Case& c : cases) {
        GameMessageBytes bytes = EncodeGameMessage(c.base);
        ASSERT_TRUE(DecodeGameMessage(bytes, Context()).message) << c.what << ": base refused";
        c.craft(bytes);
        const auto decoded = DecodeGameMessage(bytes, Context());
        EXPECT_FALSE(decoded.message) << c.what;
        EXPECT_EQ(decoded.reason, c.reason) << c.what << ": " << IgnoreReasonName(decoded.reason);
        counters.Ignore(decoded.reason);
    }
    EXPECT_EQ(counters.Ignored(IgnoreReason::BadCell), 4u);

    const GameMessageBytes whole = EncodeGameMessage(state);
    EXPECT_EQ(DecodeGameMessage(std::span(whole).first(259), Context()).reason,
              IgnoreReason::WrongSize);
    EXPECT_EQ(DecodeGameMessage({}, Context()).reason, IgnoreReason::WrongSize);
}
