// Scene props in immediate mode with the GLUT solids, reissued every frame from the clock.
// Grid counters are single-precision floats stepped by addition, as the layouts are defined.
#include "scenes/props.h"

#include "app/clock.h"
#include "view/projection.h"

#include <GL/glut.h>

#include <cmath>

namespace {

constexpr float opaque = 1.0f;

// Ground.
constexpr float groundWhite = 1.0f;

// Trees: a brown square column under a green four-sided pyramid.
constexpr float treeLift = 3.0f;
constexpr float trunkTurnDeg = 45.0f;
constexpr float trunkStretch = 5.0f;
constexpr double trunkEdge = 2.5;
constexpr float trunkRed = 0.5f;
constexpr float trunkGreen = 0.25f;
constexpr float trunkBlue = 0.0f;
constexpr float crownTiltDeg = 90.0f; // turns the cone's axis from +z to +y
constexpr double crownRadius = 5.0;
constexpr double crownHeight = 10.0;
constexpr GLint crownSlices = 4;
constexpr GLint crownStacks = 1;
constexpr float crownGreen = 1.0f;

// Forest.
constexpr float forestFirst = -405.0f;
constexpr float forestLast = 435.0f;
constexpr float forestStep = 30.0f;
constexpr float forestBaseHeight = 3.5f;

// Wave field and tunnel field share the surface frequency and the offset of the grid.
constexpr double surfaceFrequency = 0.03597;
constexpr double gridOffset = 250.0;
constexpr float waveFirst = -250.0f;
constexpr float waveLast = 250.0f;
constexpr float waveStep = 20.0f;
constexpr double waveSineAmplitude = 7.5;
constexpr double waveCosineAmplitude = 12.5;
constexpr double waveColumnLift = 0.25;
constexpr double waveColumnBase = 1.0;
constexpr double waveColumnEdge = 10.0;
constexpr float waveWhite = 1.0f;

constexpr float tunnelFirst = -250.0f;
constexpr float tunnelLast = 250.0f;
constexpr float tunnelStep = 10.0f;
constexpr double tunnelSineAmplitude = 20.0;
constexpr double tunnelCosineAmplitude = 30.0;
constexpr double tunnelColourPerUnit = 0.015;
constexpr float tunnelBlue = 1.0f;
constexpr float tunnelDepth = -2500.0f;
constexpr double tunnelStretch = 2.0;
constexpr double tunnelShift = 5.0;
constexpr double tunnelCubeEdge = 10.0;

// Sphere rows, bottom up.
struct SphereRow {
    float lift; // translated up before the row; the first row stays where it is
    float step;
    double swayAmplitude;
    double swayRatePerMs;
    GLint stacks;
};
constexpr SphereRow sphereRows[] = {
    {0.0f, 24.0f, 12.0, 0.0025, 2}, {30.0f, 40.0f, 11.0, 0.003, 1},  {28.0f, 30.0f, 9.0, 0.001, 2},
    {34.0f, 55.0f, 10.0, 0.002, 2}, {30.0f, 38.0f, 11.0, 0.0015, 2},
};
constexpr float sphereRowReach = 100.0f;
constexpr double sphereRadius = 2.5;
constexpr GLint sphereSlices = 24;
constexpr float sphereRed = 0.75f;
constexpr float sphereGreen = 0.75f;
constexpr float sphereBlue = 0.8f;
constexpr float sphereAlpha = 0.7f;

// Cube lattice.
constexpr float latticeX = 7.0f;
constexpr float latticeY = 7.75f;
constexpr float latticeZ = -6.5f;
constexpr float latticeTiltDeg = 45.0f;
constexpr float latticeAxisX = 1.0f;
constexpr float latticeAxisY = 0.0f;
constexpr float latticeAxisZ = 0.78f;
constexpr float latticeGrey = 0.5f;
constexpr double latticeCubeEdge = 2.5;
constexpr float latticeLayerLift = 10.0f;
constexpr float latticeStep = 5.0f;
constexpr float latticeNear = 5.0f; // half-extent of the inner rows
constexpr float latticeFar = 7.5f;  // half-extent of the outer rows

// Pulsing clear colour.
constexpr float clearAlpha = 1.0f;

void drawLatticeCube(float x, float y, float z)
{
    glColor4f(latticeGrey, latticeGrey, latticeGrey, opaque);
    glPushMatrix();
    glTranslatef(x, y, z);
    glutSolidCube(latticeCubeEdge);
    glPopMatrix();
}

// One layer of the lattice at height y: x from -xHalf to xHalf (outer), z likewise (inner).
void drawLatticeGrid(float y, float xHalf, float zHalf)
{
    for (float x = -xHalf; x <= xHalf; x += latticeStep) {
        for (float z = -zHalf; z <= zHalf; z += latticeStep) {
            drawLatticeCube(x, y, z);
        }
    }
}

} // namespace

void setPulseClearColor(float pulseMs, double ratePerMs)
{
    const ClearColour colour = pulseClearColour(pulseMs, ratePerMs);
    glClearColor(colour.red, colour.green, colour.blue, clearAlpha);
}

void drawGround(float halfSize)
{
    beginPerspective();
    glDisable(GL_LIGHTING);
    glPushMatrix();
    glBegin(GL_POLYGON);
    glColor4f(groundWhite, groundWhite, groundWhite, opaque);
    glVertex3f(halfSize, 0.0f, halfSize);
    glVertex3f(halfSize, 0.0f, -halfSize);
    glVertex3f(-halfSize, 0.0f, -halfSize);
    glVertex3f(-halfSize, 0.0f, halfSize);
    glEnd();
    glPopMatrix();
    glEnable(GL_LIGHTING);
}

void drawTree(float x, float y, float z)
{
    glPushMatrix();
    glTranslatef(0.0f, treeLift, 0.0f);
    glTranslatef(x, y, z);
    glRotatef(trunkTurnDeg, 0.0f, 1.0f, 0.0f);
    glScalef(1.0f, trunkStretch, 1.0f);
    glColor4f(trunkRed, trunkGreen, trunkBlue, opaque);
    glutSolidCube(trunkEdge);
    glPopMatrix();

    glPushMatrix();
    glTranslatef(x, y, z);
    glTranslatef(0.0f, treeLift, 0.0f);
    glRotatef(crownTiltDeg, -1.0f, 0.0f, 0.0f);
    glColor4f(0.0f, crownGreen, 0.0f, opaque);
    glutSolidCone(crownRadius, crownHeight, crownSlices, crownStacks);
    glPopMatrix();
}

void drawForest()
{
    for (float x = forestFirst; x <= forestLast; x += forestStep) {
        for (float z = forestFirst; z <= forestLast; z += forestStep) {
            drawTree(x, forestBaseHeight, z);
        }
    }
}

void drawWaveField()
{
    const float rise = waveRiseOffset(demoTimeMs);
    for (float x = waveFirst; x <= waveLast; x += waveStep) {
        const double k = surfaceFrequency * (x + gridOffset);
        for (float z = waveFirst; z <= waveLast; z += waveStep) {
            glPushMatrix();
            const float height =
                static_cast<float>(waveSineAmplitude * std::sin(z * k) +
                                   waveCosineAmplitude * std::cos(surfaceFrequency * x * (double(x) + z)));
            glColor4f(waveWhite, waveWhite, waveWhite, opaque);
            glTranslatef(x, rise, z);
            glScalef(1.0f, static_cast<float>(height + waveColumnBase), 1.0f);
            glTranslatef(0.0f, static_cast<float>(waveColumnLift * height), 0.0f);
            glutSolidCube(waveColumnEdge);
            glPopMatrix();
        }
    }
}

void drawTunnelField()
{
    for (float u = tunnelFirst; u <= tunnelLast; u += tunnelStep) {
        const double k = surfaceFrequency * (u + gridOffset);
        const float red = static_cast<float>(tunnelColourPerUnit * u);
        for (float v = tunnelFirst; v <= tunnelLast; v += tunnelStep) {
            glPushMatrix();
            const float depth =
                static_cast<float>(tunnelSineAmplitude * std::sin(v * k) +
                                   tunnelCosineAmplitude * std::cos(surfaceFrequency * u * (double(u) + v)));
            glColor4f(red, static_cast<float>(tunnelColourPerUnit * v), tunnelBlue, opaque);
            glTranslatef(u, v, tunnelDepth);
            glScalef(1.0f, 1.0f, static_cast<float>(tunnelStretch * depth));
            glTranslatef(u, v, static_cast<float>(tunnelShift * depth));
            glutSolidCube(tunnelCubeEdge);
            glPopMatrix();
        }
    }
}

void drawSphereRows()
{
    const double t = demoTimeMs;
    glPushMatrix();
    glColor4f(sphereRed, sphereGreen, sphereBlue, sphereAlpha);
    bool firstRow = true;
    for (const SphereRow& row : sphereRows) {
        if (!firstRow) {
            glTranslatef(0.0f, row.lift, 0.0f);
        }
        firstRow = false;
        const double sway = row.swayAmplitude * std::sin(row.swayRatePerMs * t);
        for (float offset = 0.0f; offset <= sphereRowReach; offset += row.step) {
            glPushMatrix();
            glTranslatef(static_cast<float>(sway + offset), 0.0f, 0.0f);
            glutSolidSphere(sphereRadius, sphereSlices, row.stacks);
            glPopMatrix();
        }
    }
    glPopMatrix();
}

void drawCubeLattice()
{
    glTranslatef(latticeX, latticeY, latticeZ);
    glRotatef(latticeTiltDeg, latticeAxisX, latticeAxisY, latticeAxisZ);
    for (float layer = -latticeNear; layer <= latticeNear; layer += latticeStep) {
        const float y = layer + latticeLayerLift;
        drawLatticeGrid(y, latticeFar, latticeNear);
        drawLatticeGrid(y, latticeNear, latticeFar);
    }
    for (float layer = -latticeFar; layer <= latticeFar; layer += latticeStep) {
        const float y = layer + latticeLayerLift;
        drawLatticeGrid(y, latticeNear, latticeNear);
        drawLatticeGrid(y, latticeFar, latticeFar);
    }
}

void drawImageQuad(GLuint texture, float red, float green, float blue, float alpha, float left, float right,
                   float bottom, float top)
{
    glEnable(GL_TEXTURE_2D);
    glColor4f(red, green, blue, alpha);
    glBindTexture(GL_TEXTURE_2D, texture);
    // The texture's first row (t = 0) runs along the top edge.
    glBegin(GL_POLYGON);
    glTexCoord2f(0.0f, 1.0f);
    glVertex2f(left, bottom);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(left, top);
    glTexCoord2f(1.0f, 0.0f);
    glVertex2f(right, top);
    glTexCoord2f(1.0f, 1.0f);
    glVertex2f(right, bottom);
    glEnd();
    glDisable(GL_TEXTURE_2D);
}
