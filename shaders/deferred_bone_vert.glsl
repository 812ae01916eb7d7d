#version 120
// Mesh pass, plain and skinned meshes (program "deferred_bone"). Positions go
// through the fixed model-view and projection matrices, optionally skinned by
// up to four of the 40 bone matrices. The fixed-function lights are summed per
// vertex, which keeps the software rasteriser's per-pixel work small; the
// frame gives every light it does not use black colours, so summing all of
// them is right.
uniform int useBones;
uniform int useLightShader;
uniform mat4 boneMatBuffer[40];
attribute vec4 boneIndex;    // location 6, bound before linking
attribute vec4 skinWeights;  // location 7, bound before linking

varying vec3 eyeNormal;
varying float eyeDepth;      // linear eye depth over the far plane (5000)
varying vec4 lighting;

const float kFar = 5000.0;

mat4 SkinMatrix() {
    ivec4 bone = ivec4(clamp(boneIndex + 0.5, 0.0, 39.0));
    return boneMatBuffer[bone.x] * skinWeights.x + boneMatBuffer[bone.y] * skinWeights.y +
           boneMatBuffer[bone.z] * skinWeights.z + boneMatBuffer[bone.w] * skinWeights.w;
}

vec4 FixedFunctionLights(vec3 position, vec3 normal) {
    vec4 sum = gl_FrontLightModelProduct.sceneColor;
    for (int i = 0; i < gl_MaxLights; ++i) {
        vec4 source = gl_LightSource[i].position;
        vec3 toLight = source.xyz - position * source.w;
        float distance = length(toLight);
        float attenuation = 1.0;
        if (source.w != 0.0)
            attenuation = 1.0 / max(gl_LightSource[i].constantAttenuation +
                                    distance * (gl_LightSource[i].linearAttenuation +
                                                distance * gl_LightSource[i].quadraticAttenuation), 1e-6);
        float facing = max(dot(normal, toLight / max(distance, 1e-6)), 0.0);
        sum += attenuation * (gl_FrontLightProduct[i].ambient + facing * gl_FrontLightProduct[i].diffuse);
    }
    return sum;
}

void main() {
    vec4 position = gl_Vertex;
    vec3 normal = gl_Normal;
    if (useBones != 0) {
        mat4 skin = SkinMatrix();
        position = skin * gl_Vertex;
        normal = mat3(skin) * gl_Normal;
    }
    vec4 eye = gl_ModelViewMatrix * position;
    eyeNormal = normalize(gl_NormalMatrix * normal);
    eyeDepth = -eye.z / kFar;
    lighting = useLightShader != 0 ? FixedFunctionLights(eye.xyz, eyeNormal) : vec4(1.0);
    gl_TexCoord[0] = gl_MultiTexCoord0;
    gl_FrontColor = gl_Color;
    gl_Position = gl_ProjectionMatrix * eye;
}
