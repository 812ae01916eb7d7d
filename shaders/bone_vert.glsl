#version 120
// Program "bone": a skinned mesh drawn straight to the screen. No pass of the
// deferred frame draws with it; the mesh drawing takes the locations of
// "boneIndex" and "skinWeights" from it, which every mesh program shares.
uniform mat4 boneMatBuffer[40];
attribute vec4 boneIndex;    // location 6, bound before linking
attribute vec4 skinWeights;  // location 7, bound before linking

varying vec3 eyeNormal;
varying vec4 eyePosition;

void main() {
    ivec4 bone = ivec4(clamp(boneIndex + 0.5, 0.0, 39.0));
    mat4 skin = boneMatBuffer[bone.x] * skinWeights.x + boneMatBuffer[bone.y] * skinWeights.y +
                boneMatBuffer[bone.z] * skinWeights.z + boneMatBuffer[bone.w] * skinWeights.w;
    eyePosition = gl_ModelViewMatrix * (skin * gl_Vertex);
    eyeNormal = gl_NormalMatrix * (mat3(skin) * gl_Normal);
    gl_TexCoord[0] = gl_MultiTexCoord0;
    gl_FrontColor = gl_Color;
    gl_Position = gl_ProjectionMatrix * eyePosition;
}
