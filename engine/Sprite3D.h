#pragma once

#include <string>
#include <unordered_map>

#include "engine/Node.h"

namespace cocos2d {

class Texture2D;

// An axis-aligned box in 3D.
struct AABB {
    Vec3 _min;
    Vec3 _max;
    AABB() = default;
    AABB(const Vec3& mn, const Vec3& mx) : _min(mn), _max(mx) {}
    Vec3 getCenter() const { return (_min + _max) * 0.5f; }
    bool isEmpty() const { return _min.x > _max.x || _min.y > _max.y || _min.z > _max.z; }
    void merge(const AABB& other);
    // The box around this box's corners after a transform.
    void transform(const Mat4& m);
};

// A named part of a model that can carry its own texture.
class Mesh : public Ref {
public:
    static Mesh* create(const std::string& name);
    const std::string& getName() const { return name_; }
    void setTexture(const std::string& file);
    void setTexture(Texture2D* texture);
    Texture2D* getTexture() const { return texture_; }
    void setVisible(bool visible) { visible_ = visible; }
    bool isVisible() const { return visible_; }
    ~Mesh() override;

private:
    std::string name_;
    Texture2D* texture_ = nullptr;  // retained
    bool visible_ = true;
};

// A node that stands for a bone of a model; children follow the bone.
class AttachNode : public Node {
public:
    static AttachNode* create(const std::string& boneName);
};

// A 3D model node. The engine keeps what the game asks of a model: its file,
// textures, meshes by name, attach nodes for bones, and a bounding box; it
// draws nothing (the draw list has no 3D entries). A model file that does not
// exist gives a placeholder of kPlaceholderExtent on each side (logged once).
class Sprite3D : public Node {
public:
    static constexpr float kPlaceholderExtent = 1.0f;

    static Sprite3D* create();
    static Sprite3D* create(const std::string& modelPath);
    ~Sprite3D() override;
    bool init() override;
    virtual bool initWithFile(const std::string& modelPath);

    const std::string& getModelPath() const { return modelPath_; }
    bool isPlaceholder() const { return placeholder_; }
    void setTexture(const std::string& file);
    void setTexture(Texture2D* texture);
    Texture2D* getTexture() const { return texture_; }
    // The mesh of that name, made on first request (never null).
    Mesh* getMeshByName(const std::string& name);
    Mesh* getMesh() { return getMeshByName(std::string()); }
    std::size_t getMeshCount() const { return meshes_.size(); }
    // The attach node of a bone, made (as a child) on first request.
    AttachNode* getAttachNode(const std::string& boneName);
    void removeAttachNode(const std::string& boneName);
    void removeAllAttachNode();
    // The model's box in its parent's space (the placeholder box for now).
    virtual const AABB& getAABB() const;
    // The same with every 3D child's box merged in.
    AABB getAABBRecursively();
    void setForce2DQueue(bool force) {}
    void setCullFaceEnabled(bool enabled) {}
    void setLightMask(unsigned int mask) {}

protected:
    std::string modelPath_;
    bool placeholder_ = false;
    Texture2D* texture_ = nullptr;                              // retained
    std::unordered_map<std::string, Mesh*> meshes_;             // retained
    std::unordered_map<std::string, AttachNode*> attachments_;  // children of this node
    AABB localBox_;
    mutable AABB box_;
};

}  // namespace cocos2d
