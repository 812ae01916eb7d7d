#version 120
// Particle target, billboards (program "deferred_billboard"): as "billboard",
// and the sprite's own linear depth and clip position go to the fragment
// shader, which compares them with the geometry buffer's depth.
varying vec4 clipPosition;
varying float eyeDepth;  // linear eye depth over the far plane (5000)

const float kFar = 5000.0;

void main() {
    // Turned about the object's own x axis only: a shot's x axis lies along
    // its flight, which must stay its flight on screen. Across it, the side
    // that faces the eye as far as that turn allows; a sprite seen exactly
    // along its axis shrinks to a point instead of taking a made-up side.
    vec4 centre = gl_ModelViewMatrix * vec4(0.0, 0.0, 0.0, 1.0);
    vec3 along = normalize((gl_ModelViewMatrix * vec4(1.0, 0.0, 0.0, 0.0)).xyz);
    vec3 across = cross(along, centre.xyz);
    across *= inversesqrt(max(dot(across, across), 1e-30));
    vec4 eye = centre + vec4(along * (gl_Vertex.x * gl_Color.r) + across * (gl_Vertex.y * gl_Color.g), 0.0);
    eyeDepth = -eye.z / kFar;
    gl_TexCoord[0] = gl_MultiTexCoord0;
    gl_Position = gl_ProjectionMatrix * eye;
    clipPosition = gl_Position;
}
