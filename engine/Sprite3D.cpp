#include "engine/Sprite3D.h"

#include <algorithm>

#include "engine/EngineLog.h"
#include "engine/FileUtils.h"
#include "engine/Texture2D.h"

namespace cocos2d {

void AABB::merge(const AABB& o) {
    _min = Vec3(std::min(_min.x, o._min.x), std::min(_min.y, o._min.y), std::min(_min.z, o._min.z));
    _max = Vec3(std::max(_max.x, o._max.x), std::max(_max.y, o._max.y), std::max(_max.z, o._max.z));
}

void AABB::transform(const Mat4& m) {
    const Vec3 corners[8] = {{_min.x, _min.y, _min.z}, {_max.x, _min.y, _min.z}, {_min.x, _max.y, _min.z},
                             {_max.x, _max.y, _min.z}, {_min.x, _min.y, _max.z}, {_max.x, _min.y, _max.z},
                             {_min.x, _max.y, _max.z}, {_max.x, _max.y, _max.z}};
    Vec3 mn = m.transformPoint(corners[0]);
    Vec3 mx = mn;
    for (const Vec3& c : corners) {
        const Vec3 p = m.transformPoint(c);
        mn = Vec3(std::min(mn.x, p.x), std::min(mn.y, p.y), std::min(mn.z, p.z));
        mx = Vec3(std::max(mx.x, p.x), std::max(mx.y, p.y), std::max(mx.z, p.z));
    }
    _min = mn;
    _max = mx;
}

Mesh* Mesh::create(const std::string& name) {
    auto* m = new Mesh();
    m->name_ = name;
    m->autorelease();
    return m;
}

Mesh::~Mesh() {
    CC_SAFE_RELEASE(texture_);
}

void Mesh::setTexture(const std::string& file) {
    setTexture(TextureCache::getInstance()->addImage(file));
}

void Mesh::setTexture(Texture2D* texture) {
    CC_SAFE_RETAIN(texture);
    CC_SAFE_RELEASE(texture_);
    texture_ = texture;
}

AttachNode* AttachNode::create(const std::string& boneName) {
    auto* n = new AttachNode();
    n->init();
    n->setName(boneName);
    n->autorelease();
    return n;
}

Sprite3D* Sprite3D::create() {
    return createWithInit<Sprite3D>();
}

Sprite3D* Sprite3D::create(const std::string& modelPath) {
    return createWithMethod<Sprite3D>(&Sprite3D::initWithFile, modelPath);
}

Sprite3D::~Sprite3D() {
    CC_SAFE_RELEASE(texture_);
    for (auto& [name, mesh] : meshes_) mesh->release();
}

bool Sprite3D::init() {
    if (!Node::init()) return false;
    localBox_ = AABB();
    return true;
}

bool Sprite3D::initWithFile(const std::string& modelPath) {
    if (!init()) return false;
    modelPath_ = modelPath;
    placeholder_ = modelPath.empty() || !FileUtils::getInstance()->isFileExist(modelPath);
    if (placeholder_) logMissingAssetOnce("3D model", modelPath);
    // The model's extent is not read from the file: every model answers with
    // the placeholder box, centred on its origin.
    const float h = kPlaceholderExtent / 2.0f;
    localBox_ = AABB(Vec3(-h, -h, -h), Vec3(h, h, h));
    return true;
}

void Sprite3D::setTexture(const std::string& file) {
    setTexture(TextureCache::getInstance()->addImage(file));
}

void Sprite3D::setTexture(Texture2D* texture) {
    CC_SAFE_RETAIN(texture);
    CC_SAFE_RELEASE(texture_);
    texture_ = texture;
}

Mesh* Sprite3D::getMeshByName(const std::string& name) {
    auto it = meshes_.find(name);
    if (it != meshes_.end()) return it->second;
    Mesh* mesh = Mesh::create(name);
    mesh->retain();
    meshes_[name] = mesh;
    return mesh;
}

AttachNode* Sprite3D::getAttachNode(const std::string& boneName) {
    auto it = attachments_.find(boneName);
    if (it != attachments_.end()) return it->second;
    AttachNode* node = AttachNode::create(boneName);
    addChild(node);
    attachments_[boneName] = node;
    return node;
}

void Sprite3D::removeAttachNode(const std::string& boneName) {
    auto it = attachments_.find(boneName);
    if (it == attachments_.end()) return;
    removeChild(it->second);
    attachments_.erase(it);
}

void Sprite3D::removeAllAttachNode() {
    for (auto& [name, node] : attachments_) removeChild(node);
    attachments_.clear();
}

const AABB& Sprite3D::getAABB() const {
    box_ = localBox_;
    if (!box_.isEmpty()) box_.transform(getNodeToParentTransform());
    return box_;
}

AABB Sprite3D::getAABBRecursively() {
    AABB box = getAABB();
    const Mat4& toParent = getNodeToParentTransform();
    for (Node* child : children_) {
        if (auto* s = dynamic_cast<Sprite3D*>(child)) {
            AABB childBox = s->getAABBRecursively();
            if (childBox.isEmpty()) continue;
            childBox.transform(toParent);
            if (box.isEmpty()) {
                box = childBox;
            } else {
                box.merge(childBox);
            }
        }
    }
    return box;
}

}  // namespace cocos2d
