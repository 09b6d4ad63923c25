#include "engine/macro_expansion.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/filter.h"

namespace kq {
namespace {

enum Bracket : int { kAngle = 0, kRound = 1 };

int LevelChange(char c, int bracket) {
    if (bracket == kAngle) return c == '<' ? 1 : (c == '>' ? -1 : 0);
    return c == '(' ? 1 : (c == ')' ? -1 : 0);
}

// What a run of text does to a bracket level: the net change, and the lowest level reached
// just after one of its characters, both relative to the level before the run.
struct Levels {
    static constexpr std::int64_t kNever = std::numeric_limits<std::int64_t>::max() / 4;  // an empty run
    std::int64_t change = 0;
    std::int64_t lowest = kNever;
};

Levels Then(const Levels& first, const Levels& second) {
    Levels joined;
    joined.change = first.change + second.change;
    joined.lowest =
        second.lowest == Levels::kNever ? first.lowest : std::min(first.lowest, first.change + second.lowest);
    return joined;
}

constexpr std::size_t kNotFound = std::string::npos;

// A range of the buffer that holds the text under expansion: the original text followed by the
// template's parts.
struct Piece {
    std::size_t begin, end;
};

// The buffer the pieces refer to, and the expanded text written so far; with, when asked for,
// where each character came from (see Filter::kInserted).
class Writer {
public:
    Writer(std::string text, std::vector<std::uint32_t>* origins) : buffer_(std::move(text)), tracked_(origins) {
        out_.reserve(buffer_.size() + buffer_.size() / 2);
        if (tracked_) {
            bufferOrigins_ = std::move(*origins);
            outOrigins_.reserve(bufferOrigins_.size());
        }
    }

    bool Tracked() const { return tracked_; }
    const std::string& Buffer() const { return buffer_; }
    char At(std::size_t i) const { return buffer_[i]; }

    // Adds template text to the buffer, each character coming from `origin`; returns where it starts.
    std::size_t Add(std::string_view text, std::uint32_t origin) {
        const std::size_t begin = buffer_.size();
        buffer_ += text;
        if (tracked_) bufferOrigins_.insert(bufferOrigins_.end(), text.size(), origin);
        return begin;
    }

    void Write(std::size_t begin, std::size_t end) {
        out_.append(buffer_, begin, end - begin);
        if (tracked_)
            outOrigins_.insert(outOrigins_.end(), bufferOrigins_.begin() + begin, bufferOrigins_.begin() + end);
    }

    // Writes buffer[at]; true when the text written now ends with `pattern`.
    bool WriteAndMatch(std::size_t at, std::string_view pattern) {
        Write(at, at + 1);
        return buffer_[at] == pattern.back() && EndsWith(pattern);
    }

    bool EndsWith(std::string_view pattern) const { return std::string_view(out_).ends_with(pattern); }

    // Takes back the last `count` characters written; returns where the first of them came from.
    std::uint32_t Unwrite(std::size_t count) {
        out_.resize(out_.size() - count);
        if (!tracked_) return 0;
        const std::uint32_t origin = outOrigins_[outOrigins_.size() - count];
        outOrigins_.resize(outOrigins_.size() - count);
        return origin;
    }

    std::string Finish() {
        if (tracked_) *tracked_ = std::move(outOrigins_);
        return std::move(out_);
    }

private:
    std::string buffer_;
    std::vector<std::uint32_t>* tracked_;  // null when origins are not wanted
    std::vector<std::uint32_t> bufferOrigins_, outOrigins_;
    std::string out_;
};

// The text under expansion once an argument has run past the piece it started in: the
// rearranged front, a sequence of pieces held in a randomised balanced tree (a treap keyed by
// position), followed by the part of the original text no round has reached yet. Cutting out
// an argument, finding where it closes and putting the rearranged pieces back cost a logarithm
// each, however the arguments overrun one another.
class TextStream {
public:
    using Id = std::uint32_t;  // a sequence of pieces
    static constexpr Id kEmpty = 0;

    // The pieces in order, the last of them followed by buffer[tail, end).
    TextStream(Writer& writer, const std::vector<Piece>& pieces, std::size_t tail, std::size_t end)
        : writer_(writer), end_(end), tail_(tail) {
        nodes_.emplace_back();
        for (const Piece& piece : pieces) front_ = Join(front_, Span(piece.begin, piece.end));
    }

    // A new sequence holding buffer_[begin, end).
    Id Span(std::size_t begin, std::size_t end) {
        Id sequence = kEmpty;
        for (std::size_t at = begin; at < end; at += kChunk)
            sequence = Join(sequence, NewNode(at, std::min(kChunk, end - at)));
        return sequence;
    }

    // Writes characters from the front of the stream until the text written ends with
    // `pattern`; false when the stream ran out first (then it is all written).
    bool MoveUntil(std::string_view pattern) {
        std::size_t moved = 0;
        bool found = false;
        stack_.clear();
        for (Id t = front_; !found && (t != kEmpty || !stack_.empty());) {
            while (t != kEmpty) {
                stack_.push_back(t);
                t = nodes_[t].left;
            }
            t = stack_.back();
            stack_.pop_back();
            const Node& n = nodes_[t];
            for (std::size_t i = 0; i < n.length && !found; ++i) {
                found = writer_.WriteAndMatch(n.begin + i, pattern);
                ++moved;
            }
            t = n.right;
        }
        if (found) {
            front_ = DropFront(front_, moved);
            return true;
        }
        Release(front_);
        front_ = kEmpty;
        while (tail_ < end_) {
            if (writer_.WriteAndMatch(tail_++, pattern)) return true;
        }
        return false;
    }

    // Offset of the first closing bracket met at level 0 (the one that closes the level the
    // stream starts in), or kNotFound.
    std::size_t FirstClosing(int bracket) const {
        std::int64_t level = 0;
        const std::size_t inFront = FirstClosing(front_, bracket, level);
        if (inFront != kNotFound) return inFront;
        for (std::size_t i = tail_; i < end_; ++i) {
            level += LevelChange(writer_.At(i), bracket);
            if (level < 0) return Size(front_) + (i - tail_);
        }
        return kNotFound;
    }

    // Takes the first `count` characters (all when count is kNotFound) out as a sequence.
    Id TakeFront(std::size_t count) {
        const std::size_t inFront = Size(front_);
        if (count <= inFront) {
            const auto [taken, rest] = Split(front_, count);
            front_ = rest;
            return taken;
        }
        const std::size_t fromTail = std::min(count - inFront, end_ - tail_);
        const Id taken = Join(front_, Span(tail_, tail_ + fromTail));
        tail_ += fromTail;
        front_ = kEmpty;
        return taken;
    }

    void DropFront(std::size_t count) { Release(TakeFront(count)); }

    void PushFront(Id sequence) { front_ = Join(sequence, front_); }

    Id Join(Id a, Id b) {
        if (a == kEmpty) return b;
        if (b == kEmpty) return a;
        if (nodes_[a].priority > nodes_[b].priority) {
            const Id right = Join(nodes_[a].right, b);
            nodes_[a].right = right;
            Update(a);
            return a;
        }
        const Id left = Join(a, nodes_[b].left);
        nodes_[b].left = left;
        Update(b);
        return b;
    }

    // Writes the rest of the stream.
    void MoveAll() {
        stack_.clear();
        for (Id t = front_; t != kEmpty || !stack_.empty();) {
            while (t != kEmpty) {
                stack_.push_back(t);
                t = nodes_[t].left;
            }
            t = stack_.back();
            stack_.pop_back();
            writer_.Write(nodes_[t].begin, nodes_[t].begin + nodes_[t].length);
            t = nodes_[t].right;
        }
        writer_.Write(tail_, end_);
        Release(front_);
        front_ = kEmpty;
        tail_ = end_;
    }

private:
    static constexpr std::size_t kChunk = 16;

    struct Node {
        std::size_t begin = 0, length = 0;  // the piece buffer_[begin, begin + length)
        std::size_t size = 0;               // characters in the subtree
        Id left = kEmpty, right = kEmpty;
        std::uint32_t priority = 0;
        Levels own[2], all[2];  // for the piece alone and for the subtree, per kind of bracket
    };

    std::size_t Size(Id t) const { return t == kEmpty ? 0 : nodes_[t].size; }

    // The first closing bracket in sequence t entered at `level`; on failure `level` is the
    // level after t.
    std::size_t FirstClosing(Id t, int bracket, std::int64_t& level) const {
        std::size_t offset = 0;
        while (t != kEmpty) {
            const Node& n = nodes_[t];
            if (level + n.all[bracket].lowest >= 0) {
                level += n.all[bracket].change;
                return kNotFound;
            }
            if (n.left != kEmpty && level + nodes_[n.left].all[bracket].lowest < 0) {
                t = n.left;
                continue;
            }
            if (n.left != kEmpty) {
                level += nodes_[n.left].all[bracket].change;
                offset += nodes_[n.left].size;
            }
            if (level + n.own[bracket].lowest < 0) {
                for (std::size_t i = 0;; ++i) {
                    level += LevelChange(writer_.At(n.begin + i), bracket);
                    if (level < 0) return offset + i;
                }
            }
            level += n.own[bracket].change;
            offset += n.length;
            t = n.right;
        }
        return kNotFound;  // not reached: the subtree's lowest level said where to look
    }

    // The first `count` characters of t and the rest.
    std::pair<Id, Id> Split(Id t, std::size_t count) {
        if (t == kEmpty) return {kEmpty, kEmpty};
        const std::size_t leftSize = Size(nodes_[t].left);
        const std::size_t length = nodes_[t].length;
        if (count <= leftSize) {
            const auto [a, b] = Split(nodes_[t].left, count);
            nodes_[t].left = b;
            Update(t);
            return {a, t};
        }
        if (count >= leftSize + length) {
            const auto [a, b] = Split(nodes_[t].right, count - leftSize - length);
            nodes_[t].right = a;
            Update(t);
            return {t, b};
        }
        // The cut falls inside this node's piece: its tail becomes a node of its own.
        const std::size_t cut = count - leftSize;
        const Id tail = NewNode(nodes_[t].begin + cut, length - cut);
        nodes_[t].length = cut;
        Measure(t);
        const Id rest = Join(tail, nodes_[t].right);
        nodes_[t].right = kEmpty;
        Update(t);
        return {t, rest};
    }

    Id DropFront(Id t, std::size_t count) {
        const auto [dropped, rest] = Split(t, count);
        Release(dropped);
        return rest;
    }

    void Release(Id t) {
        stack_.clear();
        if (t != kEmpty) stack_.push_back(t);
        while (!stack_.empty()) {
            const Id id = stack_.back();
            stack_.pop_back();
            if (nodes_[id].left != kEmpty) stack_.push_back(nodes_[id].left);
            if (nodes_[id].right != kEmpty) stack_.push_back(nodes_[id].right);
            free_.push_back(id);
        }
    }

    Id NewNode(std::size_t begin, std::size_t length) {
        Id id;
        if (!free_.empty()) {
            id = free_.back();
            free_.pop_back();
            nodes_[id] = Node{};
        } else {
            id = static_cast<Id>(nodes_.size());
            nodes_.emplace_back();
        }
        // xorshift: the shape of the tree must not depend on the text.
        seed_ ^= seed_ << 13;
        seed_ ^= seed_ >> 17;
        seed_ ^= seed_ << 5;
        Node& n = nodes_[id];
        n.begin = begin;
        n.length = length;
        n.priority = seed_;
        Measure(id);
        Update(id);
        return id;
    }

    void Measure(Id id) {
        Node& n = nodes_[id];
        std::int64_t angle = 0, round = 0;
        std::int64_t lowestAngle = Levels::kNever, lowestRound = Levels::kNever;
        for (std::size_t i = 0; i < n.length; ++i) {
            const char c = writer_.At(n.begin + i);
            angle += LevelChange(c, kAngle);
            round += LevelChange(c, kRound);
            lowestAngle = std::min(lowestAngle, angle);
            lowestRound = std::min(lowestRound, round);
        }
        n.own[kAngle] = Levels{angle, lowestAngle};
        n.own[kRound] = Levels{round, lowestRound};
    }

    void Update(Id id) {
        Node& n = nodes_[id];
        n.size = Size(n.left) + n.length + Size(n.right);
        for (int bracket : {kAngle, kRound}) {
            Levels levels = n.own[bracket];
            if (n.left != kEmpty) levels = Then(nodes_[n.left].all[bracket], levels);
            if (n.right != kEmpty) levels = Then(levels, nodes_[n.right].all[bracket]);
            n.all[bracket] = levels;
        }
    }

    Writer& writer_;
    std::size_t end_;   // the original text ends at end_
    std::size_t tail_;  // buffer_[tail_, end_) follows the front unchanged
    Id front_ = kEmpty;
    std::vector<Node> nodes_;  // nodes_[0] stands for the empty sequence
    std::vector<Id> free_;
    std::vector<Id> stack_;
    std::uint32_t seed_ = 2463534242u;
};

// One macro expanded through a text. As long as every argument closes inside the piece of text
// it starts in (always so in a formula whose brackets match), a round only splits that piece
// and stacks the parts in their new order, and where an argument closes is looked up in tables
// made once; the first argument that runs past its piece moves the rest of the work to a
// TextStream.
class Expansion {
public:
    Expansion(const MacroTemplate& macro, std::string text, std::vector<std::uint32_t>* origins)
        : macro_(macro), length_(text.size()), writer_(std::move(text), origins) {
        // Without origins every round can share one copy of the template's parts.
        AddTemplate(0);
        if (length_ >= kNone) {
            // Positions would not fit the tables: the tree serves from the start.
            tree_ = std::make_unique<TextStream>(writer_, std::vector<Piece>(), 0, length_);
            return;
        }
        for (int bracket : {kAngle, kRound}) closing_[bracket].assign(length_, kNone);
        for (std::size_t p = length_; p-- > 0;) {
            for (int bracket : {kAngle, kRound}) {
                std::vector<std::uint32_t>& closing = closing_[bracket];
                auto next = [&](std::size_t q) { return q < length_ ? closing[q] : kNone; };
                const int change = LevelChange(writer_.At(p), bracket);
                if (change < 0) {
                    closing[p] = static_cast<std::uint32_t>(p);
                } else if (change > 0) {
                    const std::uint32_t match = next(p + 1);
                    closing[p] = match == kNone ? kNone : next(match + std::size_t{1});
                } else {
                    closing[p] = next(p + 1);
                }
            }
        }
        pieces_.push_back({0, length_});
    }

    std::string Run(std::size_t rounds) {
        const std::string_view opening = macro_.opening;
        for (std::size_t round = 0; round < rounds; ++round) {
            // What comes before the first opening is final: no later round reaches back into it.
            if (!(tree_ ? tree_->MoveUntil(opening) : MoveUntil(opening))) return writer_.Finish();
            const std::uint32_t origin = writer_.Unwrite(opening.size());
            if (writer_.Tracked()) AddTemplate(origin | Filter::kInserted);
            if (!tree_ && !QuickRound()) MoveToTree();
            if (tree_) TreeRound();
        }
        if (tree_) {
            tree_->MoveAll();
        } else {
            for (auto it = pieces_.rbegin(); it != pieces_.rend(); ++it) writer_.Write(it->begin, it->end);
        }
        return writer_.Finish();
    }

private:
    static constexpr std::uint32_t kNone = std::numeric_limits<std::uint32_t>::max();

    // The template's parts in the buffer, as coming from `origin`.
    void AddTemplate(std::uint32_t origin) {
        before_ = writer_.Add(macro_.before, origin);
        middle_ = writer_.Add(macro_.middle, origin);
        after_ = writer_.Add(macro_.after, origin);
    }

    // Hands the stream to a TextStream; the untouched end of the original text stays out of its
    // tree.
    void MoveToTree() {
        std::size_t tail = length_;
        if (!pieces_.empty() && pieces_.front().end == length_) {
            tail = pieces_.front().begin;
            pieces_.erase(pieces_.begin());
        }
        tree_ =
            std::make_unique<TextStream>(writer_, std::vector<Piece>(pieces_.rbegin(), pieces_.rend()), tail, length_);
        pieces_.clear();
    }

    // Writes the stream's characters until the text written ends with `pattern`; pieces_ holds
    // the stream last piece first.
    bool MoveUntil(std::string_view pattern) {
        const char* const buffer = writer_.Buffer().data();
        while (!pieces_.empty()) {
            Piece& piece = pieces_.back();
            while (piece.begin < piece.end) {
                // Only the pattern's last character can complete it.
                const void* hit = std::memchr(buffer + piece.begin, pattern.back(), piece.end - piece.begin);
                const std::size_t stop = hit ? static_cast<const char*>(hit) - buffer + 1 : piece.end;
                writer_.Write(piece.begin, stop);
                piece.begin = stop;
                if (hit && writer_.EndsWith(pattern)) {
                    if (piece.begin == piece.end) pieces_.pop_back();
                    return true;
                }
            }
            pieces_.pop_back();
        }
        return false;
    }

    // Where the level met at `begin` closes within [begin, end), or kNotFound.
    std::size_t Closing(std::size_t begin, std::size_t end, int bracket) const {
        if (begin >= end) return kNotFound;
        if (end <= length_) {
            const std::uint32_t at = closing_[bracket][begin];
            return at != kNone && at < end ? at : kNotFound;
        }
        std::int64_t level = 0;
        for (std::size_t i = begin; i < end; ++i) {
            level += LevelChange(writer_.At(i), bracket);
            if (level < 0) return i;
        }
        return kNotFound;
    }

    // The round after an opening when both arguments close inside the first piece (or that
    // piece is the whole rest of the text); false, changing nothing, otherwise.
    bool QuickRound() {
        const bool alone = pieces_.size() <= 1;
        const Piece first = pieces_.empty() ? Piece{length_, length_} : pieces_.back();
        Piece angle = first, paren{0, 0}, rest{0, 0};
        const std::size_t close = Closing(first.begin, first.end, kAngle);
        if (close == kNotFound) {
            if (!alone) return false;
        } else if (close + 1 >= first.end) {
            // The character after ">" that the round drops lies in the next piece, if any.
            if (!alone) return false;
            angle.end = close;
        } else {
            angle.end = close;
            paren = {close + 2, first.end};
            const std::size_t end = Closing(paren.begin, paren.end, kRound);
            if (end == kNotFound) {
                if (!alone) return false;
            } else {
                paren.end = end;
                rest = {end + 1, first.end};
            }
        }
        if (!pieces_.empty()) pieces_.pop_back();
        for (const Piece& piece :
             {rest, Piece{after_, after_ + macro_.after.size()}, angle, Piece{middle_, middle_ + macro_.middle.size()},
              paren, Piece{before_, before_ + macro_.before.size()}}) {
            if (piece.begin < piece.end) pieces_.push_back(piece);
        }
        return true;
    }

    void TreeRound() {
        TextStream& stream = *tree_;
        const std::size_t close = stream.FirstClosing(kAngle);
        const TextStream::Id angle = stream.TakeFront(close);
        TextStream::Id paren = TextStream::kEmpty;
        if (close != kNotFound) {
            stream.DropFront(2);  // the ">" and the character after it
            paren = stream.TakeFront(stream.FirstClosing(kRound));
            stream.DropFront(1);
        }
        TextStream::Id rebuilt = stream.Span(before_, before_ + macro_.before.size());
        rebuilt = stream.Join(rebuilt, paren);
        rebuilt = stream.Join(rebuilt, stream.Span(middle_, middle_ + macro_.middle.size()));
        rebuilt = stream.Join(rebuilt, angle);
        rebuilt = stream.Join(rebuilt, stream.Span(after_, after_ + macro_.after.size()));
        stream.PushFront(rebuilt);
    }

    const MacroTemplate& macro_;
    std::size_t length_;  // of the original text, which starts the buffer
    Writer writer_;
    std::size_t before_ = 0, middle_ = 0, after_ = 0;  // the template's parts in the buffer
    std::vector<std::uint32_t> closing_[2];            // per position of the text: where its level closes
    std::vector<Piece> pieces_;                        // the stream, last piece first
    std::unique_ptr<TextStream> tree_;                 // the stream once it needs one
};

}  // namespace

std::string ExpandMacro(const MacroTemplate& macro, std::string text, std::vector<std::uint32_t>* origins) {
    std::size_t count = 0;
    for (std::size_t p = text.find(macro.opening); p != std::string::npos; p = text.find(macro.opening, p + 1)) ++count;
    if (count == 0) return text;
    return Expansion(macro, std::move(text), origins).Run(count + 1);
}

}  // namespace kq
