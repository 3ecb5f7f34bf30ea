#include "Timeline.h"

#include <algorithm>

namespace movie {

DisplayObject::DisplayObject() = default;
DisplayObject::~DisplayObject() = default;
DisplayObject::DisplayObject(DisplayObject&&) noexcept = default;
DisplayObject& DisplayObject::operator=(DisplayObject&&) noexcept = default;

namespace {
int weight(const DisplayObject& o) { return 1 + int(o.children.size()); }
} // namespace

Timeline::Timeline(PlayContext& context, const TimelineData* data, int nesting)
    : m_context(context), m_data(data), m_nesting(nesting)
{
    m_context.alive[this] = m_context.nextSerial++;
}

Timeline::~Timeline()
{
    for (const auto& entry : m_list)
        m_context.objects -= weight(entry.second);
    m_context.alive.erase(this);
}

void Timeline::start()
{
    m_frame = 0;
    if (frameCount() == 0)
        return;
    applyFrame(0, nullptr);
    enterFrame(0);
}

void Timeline::advance()
{
    if (m_playing && frameCount() > 1) {
        m_playingOn = true;
        if (m_frame + 1 < frameCount()) {
            ++m_frame;
            applyFrame(m_frame, nullptr);
            enterFrame(m_frame);
        } else {
            gotoFrame(0);
        }
        m_playingOn = false;
    }
    for (auto& entry : m_list) {
        if (entry.second.createdTick < m_context.tick)
            advanceChildren(entry.second);
    }
}

void Timeline::advanceChildren(DisplayObject& obj)
{
    if (obj.sprite)
        obj.sprite->advance();
    for (DisplayObject& child : obj.children) {
        if (child.createdTick < m_context.tick)
            advanceChildren(child);
    }
}

void Timeline::gotoFrame(int index)
{
    if (frameCount() == 0)
        return;
    index = std::clamp(index, 0, frameCount() - 1);
    if (index == m_frame)
        return;
    if (index > m_frame) {
        for (int f = m_frame + 1; f <= index; ++f)
            applyFrame(f, nullptr);
    } else {
        // Rewind: rebuild from the first frame. Objects placed by the same command as before
        // are carried over so their own timelines keep running. Looping costs only frame 1.
        std::map<int, DisplayObject> old = std::move(m_list);
        m_list.clear();
        m_context.pictureChanged = true;
        for (int f = 0; f <= index; ++f)
            applyFrame(f, &old);
        for (const auto& entry : old)
            m_context.objects -= weight(entry.second);
    }
    m_frame = index;
    enterFrame(index);
}

bool Timeline::gotoLabel(const QString& label)
{
    int frame = m_data->labelFrame(label);
    if (frame < 0)
        return false;
    gotoFrame(frame);
    return true;
}

void Timeline::runActions(const std::vector<Action>& actions)
{
    for (const Action& a : actions) {
        switch (a.op) {
        case Action::Op::Stop: stop(); break;
        case Action::Op::Play: play(); break;
        case Action::Op::GotoFrame:
            gotoFrame(a.frame);
            stop();
            break;
        case Action::Op::GotoLabel:
            if (gotoLabel(a.label))
                stop();
            break;
        case Action::Op::NextFrame:
            gotoFrame(m_frame + 1);
            stop();
            break;
        case Action::Op::PrevFrame:
            gotoFrame(m_frame - 1);
            stop();
            break;
        case Action::Op::StopSounds:
            m_context.stopAllSounds = true;
            m_context.startedSounds.clear();
            break;
        }
    }
}

void Timeline::enterFrame(int frame)
{
    const Frame& f = m_data->frames[size_t(frame)];
    for (const auto& list : f.actions)
        m_context.queue.push_back({this, m_context.alive[this], &list});
    for (const StartSound& sound : f.sounds) {
        if (m_context.startedSounds.size() < PlayContext::MaxPendingSounds)
            m_context.startedSounds.push_back(&sound);
    }
    for (const QByteArray& block : f.streamBlocks) {
        if (m_context.streamBlocks.size() < PlayContext::MaxPendingSounds)
            m_context.streamBlocks.push_back({m_context.alive[this], m_data, frame, &block, m_playingOn});
    }
}

void Timeline::applyFrame(int index, std::map<int, DisplayObject>* reuse)
{
    const auto& commands = m_data->frames[size_t(index)].commands;
    // Past twice the budget the frame is left as it is: only hostile files get here.
    if (m_context.commandsThisTick > 2 * PlayContext::MaxCommandsPerTick)
        return;
    m_context.commandsThisTick += int(commands.size());
    if (!commands.empty())
        m_context.pictureChanged = true;
    for (const PlaceCommand& cmd : commands)
        apply(cmd, index, reuse);
}

void Timeline::erase(std::map<int, DisplayObject>::iterator it)
{
    m_context.objects -= weight(it->second);
    m_list.erase(it);
}

void Timeline::instantiate(DisplayObject& obj)
{
    obj.createdTick = m_context.tick;
    if (!obj.character)
        return;
    if (const auto* sprite = std::get_if<SpriteCharacter>(obj.character)) {
        if (m_nesting + 1 > PlayContext::MaxNesting)
            return;  // too deep: the sprite stays empty
        obj.sprite = std::make_unique<Timeline>(m_context, sprite->timeline.get(), m_nesting + 1);
        obj.sprite->start();
    } else if (const auto* button = std::get_if<ButtonCharacter>(obj.character); button && m_nesting + 1 <= PlayContext::MaxNesting) {
        for (const ButtonRecord& rec : button->upState) {
            if (m_context.objects + 1 > PlayContext::MaxObjects
                || m_context.createdThisTick >= PlayContext::MaxCreatedPerTick)
                break;
            ++m_context.createdThisTick;
            DisplayObject child;
            child.characterId = rec.characterId;
            child.character = m_context.movie->character(rec.characterId);
            if (!child.character)
                continue;
            child.depth = rec.depth;
            child.matrix = rec.matrix;
            child.colorTransform = rec.colorTransform;
            child.createdTick = m_context.tick;
            const auto* childSprite = std::get_if<SpriteCharacter>(child.character);
            if (childSprite && m_nesting + 2 <= PlayContext::MaxNesting) {
                child.sprite = std::make_unique<Timeline>(m_context, childSprite->timeline.get(), m_nesting + 2);
                child.sprite->start();
            }
            ++m_context.objects;
            obj.children.push_back(std::move(child));
        }
    }
}

void Timeline::apply(const PlaceCommand& cmd, int frame, std::map<int, DisplayObject>* reuse)
{
    auto it = m_list.find(cmd.depth);
    if (cmd.kind == PlaceCommand::Kind::Remove) {
        if (it != m_list.end())
            erase(it);
        return;
    }
    DisplayObject* obj = nullptr;
    if (cmd.characterId) {
        const uint16_t characterId = *cmd.characterId;
        const Character* character = m_context.movie->character(characterId);
        if (it != m_list.end() && cmd.move) {
            obj = &it->second;
            if (obj->characterId != characterId) {
                // Swapping the character keeps the placement's properties.
                ++m_context.createdThisTick;
                m_context.objects -= int(obj->children.size());
                obj->children.clear();
                obj->sprite.reset();
                obj->characterId = characterId;
                obj->character = character;
                obj->placedFrame = frame;
                instantiate(*obj);
            }
        } else {
            if (it != m_list.end())
                erase(it);
            if (!character)
                return;
            DisplayObject fresh;
            bool reused = false;
            if (reuse) {
                auto old = reuse->find(cmd.depth);
                if (old != reuse->end() && old->second.characterId == characterId
                    && old->second.placedFrame == frame) {
                    fresh = std::move(old->second);
                    reuse->erase(old);
                    fresh.matrix = QTransform();
                    fresh.colorTransform = ColorTransform();
                    fresh.ratio = 0;
                    fresh.name.clear();
                    fresh.clipDepth = 0;
                    fresh.visible = true;
                    reused = true;
                }
            }
            if (!reused) {
                if (m_context.objects + 1 > PlayContext::MaxObjects
                    || m_context.createdThisTick >= PlayContext::MaxCreatedPerTick)
                    return;
                ++m_context.createdThisTick;
                fresh.characterId = characterId;
                fresh.character = character;
                fresh.depth = cmd.depth;
                fresh.placedFrame = frame;
                ++m_context.objects;
                instantiate(fresh);
            }
            obj = &m_list.emplace(cmd.depth, std::move(fresh)).first->second;
        }
    } else {
        if (it == m_list.end())
            return;
        obj = &it->second;
    }
    obj->matrix = cmd.matrix.value_or(obj->matrix);
    obj->colorTransform = cmd.colorTransform.value_or(obj->colorTransform);
    obj->ratio = cmd.ratio.value_or(obj->ratio);
    obj->name = cmd.name.value_or(obj->name);
    obj->clipDepth = cmd.clipDepth.value_or(obj->clipDepth);
    obj->visible = cmd.visible.value_or(obj->visible);
}

} // namespace movie
