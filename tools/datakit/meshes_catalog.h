// Every mesh of the default data set, one builder per figure or animation.
// Figures face -z: the game turns the hero and the sentries so that their
// -z side looks along their heading.
#pragma once

#include <string>
#include <vector>

#include "engine/mesh.h"

struct NamedMesh {
    std::string file; // path under the data folder, e.g. "3DO/GAME/hero.3do"
    Mesh mesh;
};

// All meshes in the order they are written: the game's, then the editor's markers.
std::vector<NamedMesh> BuildMeshCatalog();

constexpr int kHeroPoseCount = 11;
// The hero's poses in pose order: stand, walk 1..4, fall, crouch, dead,
// ladder 1..2, action. All share one face list; only the vertices differ.
std::vector<Mesh> HeroPoses();
Mesh ShadowMesh();
Mesh SentryMesh();

// Drawn around the viewer (the sky) or on the title, end and transition screens.
Mesh SkyMesh();
Mesh PodiumMesh();
Mesh FlagMesh();
constexpr int kTransitionFaces = 16;
Mesh TransitionMesh(int style); // style 1..3

// Cell objects. Animations return their key frames in order.
Mesh LadderMesh(bool wideInX);
// Levers and doors come in the colour of their circuit (a palette ramp) or
// kind (a door texture).
std::vector<Mesh> LeverFrames(int circuit); // off .. on
std::vector<Mesh> DoorFrames(int texture);  // closed .. sunk into the floor
std::vector<Mesh> IngotFrames();            // one turn
std::vector<Mesh> SpringFrames();           // rest, pressed, released
// Soil of texture `texture` crumbling from a full block away.
std::vector<Mesh> DigFrames(int texture);
std::vector<Mesh> RefillFrames(); // rooted soil, crumbled .. full block again
std::vector<Mesh> ExitFrames();   // one pulse
Mesh LifeMesh();
Mesh LampMesh();
Mesh HourglassMesh();

enum RampDirection { kRampPlusX, kRampMinusX, kRampPlusZ, kRampMinusZ };
// A full ramp from the cell's floor up to its top, rising toward `direction`.
Mesh RampMesh(RampDirection direction);
Mesh SpikesMesh();
Mesh SensorMesh();

Mesh TorchMesh();
Mesh PillarMesh();
Mesh PlantMesh();
Mesh CrystalMesh();

// The level editor's markers (the editor paints them in one colour).
Mesh SelectMarker();
Mesh StartMarker(); // an arrow along +z: the editor turns it by the start heading
Mesh SfxMarker();
Mesh ExitMarker();
