#include "presentation/players/DeathBurst.h"

#include "engine/ActionInstant.h"
#include "engine/ActionInterval.h"
#include "engine/RefPtr.h"
#include "engine/Sprite3D.h"
#include "presentation/effects/FlyApart.h"
#include "presentation/effects/ResetableSprite.h"

using namespace cocos2d;

Sprite3D* burstFromModel(const BurstContext& context, Sprite3D* model) {
    Sprite3D* body = context.body;
    Node* parent = body->getParent();
    if (parent == nullptr || model == nullptr) return nullptr;
    const Zarn::Player3DAssets& look = *context.assets;
    // A copy: the pieces leave the model one by one.
    const Vector<Node*> pieces = model->getChildren();
    Sprite3D* burst = Sprite3D::create();
    for (Node* piece : pieces) {
        Vec3 centre = piece->getPosition3D();
        if (auto* part = dynamic_cast<Sprite3D*>(piece)) {
            const std::string& name = part->getName();
            part->setTexture(name == "Head"  ? look.heads.files[1]
                             : name == "Hat" ? look.textures.second
                                             : look.textures.first);
            centre = part->getAABB().getCenter();
        }
        // The holder stands at the piece's centre and turns it about it; the
        // piece keeps its place.
        const Vec3 offset = centre - model->getPosition3D();
        const RefPtr<Node> kept(piece);
        piece->removeFromParentAndCleanup(false);
        Sprite3D* holder = Sprite3D::create();
        piece->setPosition3D(piece->getPosition3D() - offset);
        holder->addChild(piece);
        holder->setPosition3D(offset);
        burst->addChild(holder);
    }
    burst->setScale(body->getScale());
    burst->setPosition3D(body->getPosition3D());
    burst->setRotation3D(body->getRotation3D());
    parent->addChild(burst);
    body->setVisible(false);
    for (Node* holder : burst->getChildren()) createFlyApartAction3D(holder);
    burst->runAction(Sequence::create(DelayTime::create(kBurstLifetime), RemoveSelf::create(true)));
    return burst;
}

CallFunc* createDeathBurst(const BurstContext& context, const std::string& modelFile) {
    return CallFunc::create([context, modelFile] {
        Sprite3D* model = Sprite3D::create(modelFile);
        model->setScale(1.0f);
        burstFromModel(context, model);
    });
}

CallFunc* createSpriteBurst(ResetableSprite* sprite) {
    RefPtr<ResetableSprite> kept(sprite);
    return CallFunc::create([kept] {
        kept->reset();
        for (Node* piece : kept->getChildren()) createFlyApartAction2D(piece);
        kept->runAction(Sequence::create(DelayTime::create(kBurstLifetime), RemoveSelf::create(true)));
    });
}
