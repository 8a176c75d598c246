// Writes every mesh of the data set: the game's under 3DO/GAME/, the level
// editor's markers under 3DO/EDITOR/.
#include "datakit.h"
#include "meshes_builder.h"
#include "meshes_catalog.h"

namespace {

void AddFrames(std::vector<NamedMesh>& catalog, const std::string& stem,
               const std::vector<Mesh>& frames) {
    for (std::size_t i = 0; i < frames.size(); ++i)
        catalog.push_back({"3DO/GAME/" + stem + "_" + std::to_string(i + 1) + ".3do", frames[i]});
}

} // namespace

std::vector<NamedMesh> BuildMeshCatalog() {
    std::vector<NamedMesh> catalog;
    auto game = [&](const std::string& name, Mesh mesh) {
        catalog.push_back({"3DO/GAME/" + name, std::move(mesh)});
    };
    const char* const poseNames[kHeroPoseCount] = {
        "hero",        "hero_walk1", "hero_walk2",   "hero_walk3",   "hero_walk4", "hero_fall",
        "hero_crouch", "hero_dead",  "hero_ladder1", "hero_ladder2", "hero_shoot"};
    const std::vector<Mesh> poses = HeroPoses();
    for (int i = 0; i < kHeroPoseCount; ++i) game(std::string(poseNames[i]) + ".3do", poses[i]);
    game("shadow.3do", ShadowMesh());
    game("sentry.3do", SentryMesh());
    game("sky.3do", SkyMesh());
    game("podium.3do", PodiumMesh());
    game("flag.3do", FlagMesh());
    for (int style = 1; style <= 3; ++style)
        game("Transi" + std::to_string(style) + ".3do", TransitionMesh(style));
    game("ladder_x.3do", LadderMesh(true));
    game("ladder_z.3do", LadderMesh(false));
    AddFrames(catalog, "lever", LeverFrames(kFirstCircuit));
    AddFrames(catalog, "lever_second", LeverFrames(kSecondCircuit));
    AddFrames(catalog, "door", DoorFrames(kTexDoor));
    AddFrames(catalog, "door_second", DoorFrames(kTexSecondCircuitDoor));
    AddFrames(catalog, "door_ingot", DoorFrames(kTexIngotDoor));
    AddFrames(catalog, "door_sensor", DoorFrames(kTexSensorDoor));
    AddFrames(catalog, "ingot", IngotFrames());
    AddFrames(catalog, "spring", SpringFrames());
    game("life.3do", LifeMesh());
    game("lamp.3do", LampMesh());
    game("hourglass.3do", HourglassMesh());
    game("ramp_px.3do", RampMesh(kRampPlusX));
    game("ramp_nx.3do", RampMesh(kRampMinusX));
    game("ramp_pz.3do", RampMesh(kRampPlusZ));
    game("ramp_nz.3do", RampMesh(kRampMinusZ));
    game("spikes.3do", SpikesMesh());
    game("sensor.3do", SensorMesh());
    AddFrames(catalog, "dig", DigFrames(kTexEarth));
    AddFrames(catalog, "dig_rooted", DigFrames(kTexRootedSoil));
    AddFrames(catalog, "refill", RefillFrames());
    AddFrames(catalog, "exit", ExitFrames());
    game("torch.3do", TorchMesh());
    game("pillar.3do", PillarMesh());
    game("plant.3do", PlantMesh());
    game("crystal.3do", CrystalMesh());

    catalog.push_back({"3DO/EDITOR/select.3do", SelectMarker()});
    catalog.push_back({"3DO/EDITOR/start.3do", StartMarker()});
    catalog.push_back({"3DO/EDITOR/sfx.3do", SfxMarker()});
    catalog.push_back({"3DO/EDITOR/exit.3do", ExitMarker()});
    return catalog;
}

void GenerateMeshes(const DataKit& kit) {
    for (const NamedMesh& entry : BuildMeshCatalog())
        WriteDataFile(kit, entry.file, EncodeMesh(entry.mesh));
}
